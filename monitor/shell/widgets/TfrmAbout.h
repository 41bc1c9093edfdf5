#pragma once
// The About box of the window: the program's icon, name, version, what it
// does, its licence and the Qt it runs on, with one Close button.

#include "AboutBox.h"

#include <QDialog>

class TfrmAbout : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAbout(const AboutFacts& facts, QWidget* parent = nullptr);
};

// Shows TfrmAbout over the status window.
class DialogAbout : public AboutPresenter {
public:
    explicit DialogAbout(QWidget* parent) : m_parent(parent) {}
    void showAbout(const AboutFacts& facts) override;

private:
    QWidget* m_parent;
};
