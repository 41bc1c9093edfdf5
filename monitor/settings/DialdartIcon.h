#pragma once
// The Dialdart launcher on the desktop, which starts the monitor dialling and
// ending after that connection (load on demand). The settings dialog turns it
// on and off; the shell feature writes it.

class DialdartIcon {
public:
    virtual ~DialdartIcon() = default;
    // On: writes the launcher, then turns starting with the session off (load
    // on demand replaces it); throws when either fails. Off: deletes the
    // launcher if it is there; failures are ignored.
    virtual void setDialdartIcon(bool on) = 0;
};
