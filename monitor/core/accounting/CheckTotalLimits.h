#pragma once
// Compares the stored totals with the user's time and cost limits and posts
// the two warning events of each limit passed; it keeps no memory, so the
// events come again at every call while a limit stays passed.

#include "AccountingContext.h"

class CheckTotalLimits {
public:
    explicit CheckTotalLimits(const AccountingContext& ctx) : m_ctx(ctx) {}

    // A limit or total that is no number throws ConversionError.
    void run();

    // "Warning Message", by default "You have now used your defined ...".
    static QString WarningMessage(const AccountingContext& ctx);

private:
    AccountingContext m_ctx;
};
