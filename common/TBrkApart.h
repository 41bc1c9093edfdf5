#pragma once
// Splits a text at a separator string into a list of pieces.

#include <QString>
#include <QStringList>

class TBrkApart {
public:
    QString BreakString; // the separator
    QString BaseString;  // the text to split
    bool KeepEmpty = false;

    // Fills StringList from BaseString; empty pieces only when KeepEmpty.
    void BreakApart();
    QStringList StringList;
};
