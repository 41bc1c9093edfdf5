#pragma once
// The four views of the companion's main window.

enum class CompanionView {
    Outline,     // `TreeView1`, the report as a tree ("&List")
    Report,      // `Report`, the report text ("&Reports")
    Connections, // `List`, the connection list ("&Connections")
    Chart        // `Graphpanel`, the pie chart ("&Chart")
};
