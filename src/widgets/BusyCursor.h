#pragma once
// The wait cursor while a command works: shown when the guard is made, put back when it
// goes, whichever way the command ends. Guards nest.

class BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

    // How many guards were made in this run.
    static int TimesShown();
};

// The normal cursor while the operator is asked something in the middle of such a command.
class NormalCursor {
public:
    NormalCursor();
    ~NormalCursor();
    NormalCursor(const NormalCursor&) = delete;
    NormalCursor& operator=(const NormalCursor&) = delete;

private:
    bool m_bSet = false;
};
