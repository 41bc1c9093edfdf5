#pragma once
// The holidays dialog: the sorted list of yearly holidays, month and day to
// add one, Remove for the selected line, the download of holiday
// definitions, and Close. Every change is written at once (HolidayList).

#include "HolidayList.h"
#include "TariffDialogContext.h"

#include <QDialog>

class QComboBox;
class QListWidget;

class TfrmHolidays : public QDialog {
    Q_OBJECT
public:
    explicit TfrmHolidays(const TariffDialogContext& context, QWidget* parent = nullptr);

private:
    void FormCreate();
    void Button3Click(); // Add
    void Button4Click(); // Remove
    QLayout* buildPicker();

    TariffDialogContext m_context;
    HolidayList m_holidays;
    QListWidget* m_list;
    QComboBox* m_month;
    QComboBox* m_day;
};
