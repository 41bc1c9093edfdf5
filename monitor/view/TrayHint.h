#pragma once
// The tray icon's hint holds at most 63 characters; longer texts are cut.

#include <QString>

constexpr int kTrayHintLimit = 63;

inline QString fitTrayHint(const QString& text) {
    return text.left(kTrayHintLimit);
}
