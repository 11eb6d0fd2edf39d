// Fields to controls and back. Taking stops at the first box that does not
// hold its kind of number: the operator is told, the box gets the focus, and
// that field and the ones after it keep their values.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

class CDataExchange {
public:
    CDataExchange(HWND dialog, bool take) : dialog_(dialog), take_(take) {}

    void Text(int id, std::string& field);
    void Byte(int id, uint8_t& field);      // 0..255
    void Unsigned(int id, unsigned& field); // 0..4294967295
    void Check(int id, int& field);         // a check box, 0/1
    void ComboIndex(int id, int& field);    // the selected entry, -1 for none

    bool Taking() const { return take_; }
    bool Failed() const { return failed_; }

private:
    bool Skip() const { return take_ && failed_; }
    std::string ControlText(int id) const;
    void Fail(int id, const char* message);

    HWND dialog_;
    bool take_;
    bool failed_ = false;
};
