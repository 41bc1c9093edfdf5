#pragma once
// One page of the settings dialog: its controls, their captions, and the
// copying of SettingsValues into them and back. A page only wires; what
// its buttons do is SettingsDialog's.

#include "SettingsValues.h"

#include <QWidget>

class IntlStrings;
class QComboBox;
class QGroupBox;
class QLabel;
class SettingsDialog;

class SettingsPanel : public QWidget {
    Q_OBJECT
public:
    SettingsPanel(SettingsDialog& dialog, const char* name, QWidget* parent);

    virtual void caption(const IntlStrings& intl) = 0;
    virtual void load(const SettingsValues& values) = 0;
    virtual void read(SettingsValues& values) const = 0;
    virtual void enable(const SettingsEnabling& enabling) = 0;

signals:
    // The user changed a control of the page.
    void changed();

protected:
    // Reports every edit, box, choice and slider below the page as changed().
    void watchChanges();

    template <typename W> W* named(const char* name, QWidget* parent = nullptr) {
        auto* w = new W(parent ? parent : this);
        w->setObjectName(QString::fromLatin1(name));
        return w;
    }
    QGroupBox* group(const char* name);
    // A list of names from outside (the phone book, the mail programs, a
    // stored choice): as wide as the layout makes it, not as its longest
    // name, so that one long name cannot push the dialog off the screen.
    QComboBox* namesCombo(const char* name, QWidget* parent = nullptr);
    // A label whose access key moves to buddy.
    QLabel* label(const char* name, QWidget* buddy, QWidget* parent = nullptr);

    SettingsDialog& m_dialog;
};
