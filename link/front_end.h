// The one way a run reaches the front end that shows it (the main window or
// the `ducat` console): the command controls, the identity line and the
// device coin list. A front end installs itself; with none installed a run
// shows nothing.
#pragma once

class FrontEnd {
public:
    virtual ~FrontEnd() = default;

    // START, STOP and "Edit Selected Coin": on = idle, off = a run exists.
    // Called on the front end's own thread (a starter, the main window's timer).
    virtual void EnableCommandControls(bool on) = 0;

    // Called on the service thread; neither may wait for the front end.
    virtual void WriteIdentityLine(const char* line) = 0;
    virtual void RefreshDeviceCoinList() = 0;
    // A log dump file has been written by the run.
    virtual void LogDumpWritten() {}
};

// Installs `frontEnd` (null removes it). It must outlive every run that may
// still reach it.
void InstallFrontEnd(FrontEnd* frontEnd);

// The installed front end, or one that shows nothing.
FrontEnd& CurrentFrontEnd();
