// Fields to controls and back. Taking stops at the first box that does not
// hold its kind of number: the operator is told, the box gets the focus, and
// that field and the ones after it keep their values.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

class CDataExchange {
public:
    CDataExchange(HWND dialog, bool take) : m_hDialog(dialog), m_bTake(take) {}

    void Text(int id, std::string& field);
    void Byte(int id, uint8_t& field);      // 0..255
    void Unsigned(int id, unsigned& field); // 0..4294967295
    void Check(int id, int& field);         // a check box, 0/1
    void ComboIndex(int id, int& field);    // the selected entry, -1 for none

    bool Taking() const { return m_bTake; }
    bool Failed() const { return m_bFailed; }

private:
    bool Skip() const { return m_bTake && m_bFailed; }
    std::string ControlText(int id) const;
    void Fail(int id, const char* message);

    HWND m_hDialog;
    bool m_bTake;
    bool m_bFailed = false;
};
