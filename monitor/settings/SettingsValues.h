#pragma once
// What the settings dialog's controls hold, page by page: loaded from the
// store when the dialog is shown, written back by Apply. Texts stay as typed;
// only the user time and the two warning limits are converted by Apply.

#include <QString>
#include <QStringList>

// The pages in the order the dialog shows them.
enum class SettingsPage {
    TimeAndCost,
    Dialdart,
    Mail,
    Warnings,
    Chimes,
    Administration,
    FileLog,
    Options
};
inline constexpr int kSettingsPageCount = 8;

struct SettingsValues {
    // Time and cost: radioCost / radioTime, RadioButton3 / RadioButton4,
    // txtRate, CheckBox5.
    bool showCost = false;
    bool oneRate = true;
    QString rate;
    bool resetEachMonth = false;

    // Dialdart: cmbEntries (-1: none selected), Edit8, CheckBox8, CheckBox9
    // and the hidden CheckBox7.
    QStringList entries;
    int entry = -1;
    QString runProgram;
    bool dialdartIcon = false;
    bool oneClick = false;
    bool dialdartStatus = true;

    // E-mail: CheckBox12, Edit11 to Edit13 (the password in clear), ComboBox2,
    // the connection security ("none", "STLS", "POP3S", or a stored text that
    // is none of them, kept as it stands) and TrackBar1 (1 to 10 seconds).
    bool monitorMail = false;
    QString popHost;
    QString popUser;
    QString popPassword;
    QStringList mailClients;
    QString mailClient;
    QString popSecurity;
    int popTimeout = 3;

    // Warnings: CheckBox3 with Edit3, CheckBox6 with Edit5, the hidden
    // CheckBox4, WarnMsg.
    bool timeWarning = false;
    QString warningTime;
    bool costWarning = false;
    QString warningCost;
    bool daily = false;
    QString warningMessage;

    // Chimes: CheckBox2, Edit1, Remindme, txtChimeFile.
    bool chime = false;
    QString chimePeriod;
    bool remindBox = false;
    QString chimeFile;

    // Administration: Edit2, Edit4, txtPCTime, Edit10, CheckBox10, CheckBox11.
    QString userTime;
    QString userCost;
    QString pcTime;
    QString pcCost;
    bool protectSettings = false;
    bool protectExit = false;

    // File log: LogFile.
    QString logFile;

    // Options: cmbLanguage (a language list index), Autoload, chkXfer.
    int language = 2;
    bool autoload = false;
    bool monitorXfer = true;
};

// Which controls the enabling rules leave usable.
struct SettingsEnabling {
    bool rateChoice = false;  // RadioButton3, RadioButton4
    bool rateEdit = false;    // txtRate and "per minute"
    bool ratesButton = false; // btnRates
    bool warningTime = false; // Edit3, its spinner and "minutes"
    bool warningCost = false; // Edit5, its spinner and the currency
    bool daily = false;       // CheckBox4
    bool chime = false;       // Edit1, its spinner, Remindme, the labels, txtChimeFile
    bool mail = false;        // the server and client groups, the track bar
    bool userTotals = false;  // Edit2, Edit4: not while a connection is up
    bool xfer = false;        // chkXfer: only where byte counters can be read

    // online: a connection is being timed; byteCounters: the connection
    // source can follow the links' traffic.
    static SettingsEnabling of(const SettingsValues& values, bool online, bool byteCounters);
};
