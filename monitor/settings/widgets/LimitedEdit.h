#pragma once
// An edit whose typing limit never cuts a stored text: a value written by
// another dialog or by hand may be longer than this dialog lets one type,
// and it must be shown, and saved again, as it stands.

#include <QLineEdit>

namespace LimitedEdit {

inline void show(QLineEdit& edit, const QString& text, int typingLimit) {
    edit.setMaxLength(qMax(typingLimit, int(text.size())));
    edit.setText(text);
}

} // namespace LimitedEdit
