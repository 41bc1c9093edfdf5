#pragma once
// The rates dialog: cheap-hour bounds, cheap days, the rates, the connection
// fee and the minimum cost. Loads and stores through RatesEditor; More...
// opens the holidays dialog. Opened by the settings dialog.

#include "TariffDialogContext.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;

class TfrmRates : public QDialog {
    Q_OBJECT
public:
    explicit TfrmRates(const TariffDialogContext& context, QWidget* parent = nullptr);

private:
    QWidget* buildRates();
    QWidget* buildCosts();
    QLineEdit* amountRow(class QGridLayout* grid, int row, const char* label, int text,
                         const char* edit);
    void load();
    void OKBtnClick();
    void Button1Click();

    TariffDialogContext m_context;
    QLineEdit* m_edit4 = nullptr;
    QLineEdit* m_edit5 = nullptr;
    QCheckBox* m_fridays = nullptr;
    QCheckBox* m_saturdays = nullptr;
    QCheckBox* m_sundays = nullptr;
    QLineEdit* m_edit6 = nullptr;
    QLineEdit* m_edit7 = nullptr;
    QLineEdit* m_edit3 = nullptr;
    QLineEdit* m_edit1 = nullptr;
    QLineEdit* m_edit2 = nullptr;
};
