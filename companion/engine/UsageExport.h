#pragma once
// The usage figures as data for spreadsheets and scripts: CSV (RFC 4180,
// UTF-8, a header row, CR LF line ends) or one JSON object; with a row reader
// also every connection row. Numbers are plain decimals with a point, months
// and times ISO 8601, and nothing is localised. Text goes to the sink piece by
// piece, so a million rows are never all held at once.

#include "UsageFigures.h"

#include <QByteArray>
#include <QDateTime>

#include <functional>

namespace UsageExport {

// Receives the output in order; returns false when it cannot take more, which
// ends the writing.
using Sink = std::function<bool(const QByteArray&)>;

// The columns of every CSV line, in order.
extern const char* const kCsvHeader;

// rows may be null (no connection rows). Both return false when the sink
// refused a piece.
bool writeCsv(const UsageFigures& figures, const RowFigureReader* rows, const Sink& sink);
bool writeJson(const UsageFigures& figures, const QDateTime& compiled, const RowFigureReader* rows,
               const Sink& sink);

// One CSV field: quoted (with quotes doubled) when it holds a comma, a
// semicolon, a quote, a line break or blanks at either end.
QByteArray csvField(const QString& text);

} // namespace UsageExport
