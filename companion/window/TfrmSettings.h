#pragma once
// The Options dialog: the report folder, the report-name prompt and the purge
// rule on the "Reports" page, the log files to read on the "Log files" page.
// "&Apply" and OK write everything; the logic lives in OptionsDialogLogic.

#include "CompanionStrings.h"
#include "DialogPresenter.h"
#include "OptionsDialogLogic.h"
#include "OptionsStrings.h"

#include <QDialog>

#include <vector>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class QSpinBox;
class QStandardItemModel;
class QTabWidget;
class QToolButton;
class QTreeView;

class TfrmSettings : public QDialog {
    Q_OBJECT

public:
    TfrmSettings(Settings& settings, const CompanionStrings& mainStrings, const FormatSettings& fmt,
                 DialogPresenter& dialogs, QWidget* parent = nullptr);

    void LoadCaptions();
    // "&Change...", "&Add...", "&Remove", "&Apply", OK.
    void ChangeClick();
    void AddClick();
    void RemoveClick();
    // False when the store refused the writes (a message says why).
    bool ApplyClick();
    void OkClick();

    const std::vector<LogFileRow>& rows() const { return m_rows; }
    QLineEdit* Edit2() const { return m_edit2; }
    QSpinBox* Edit1() const { return m_edit1; }
    QCheckBox* askCheck() const { return m_ask; }
    QCheckBox* purgeCheck() const { return m_purge; }
    QTreeView* LogList() const { return m_details; }
    QPushButton* applyButton() const { return m_apply; }

private:
    QWidget* buildReportsPage();
    QWidget* buildLogFilesPage();
    void buildButtons();
    void loadValues();
    void appendRow(const LogFileRow& row);
    int selectedRow() const;
    void changed();
    void showDetails(bool details);

    Settings& m_settings;
    OptionsStrings m_strings;
    OptionsDialogLogic m_logic;
    DialogPresenter& m_dialogs;
    std::vector<LogFileRow> m_rows;
    // "Purge after" as stored: written back unchanged unless the user edits
    // the box, which only offers 1 to 12 and would clamp anything else.
    QString m_storedPurgeAfter;
    bool m_purgeAfterEdited = false;

    QTabWidget* m_pages = nullptr;
    QGroupBox* m_folderGroup = nullptr;
    QLabel* m_folderLabel = nullptr;
    QLineEdit* m_edit2 = nullptr;
    QPushButton* m_change = nullptr;
    QCheckBox* m_ask = nullptr;
    QGroupBox* m_purgeGroup = nullptr;
    QCheckBox* m_purge = nullptr;
    QSpinBox* m_edit1 = nullptr;
    QLabel* m_months = nullptr;
    QLabel* m_filesLabel = nullptr;
    QStandardItemModel* m_files = nullptr;
    QTreeView* m_details = nullptr;
    QListView* m_icons = nullptr;
    QToolButton* m_iconsButton = nullptr;
    QToolButton* m_detailsButton = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_remove = nullptr;
    QAction* m_removeMenu = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_apply = nullptr;
};
