#pragma once
// How the mail check protects its connection: not at all (as before), with
// STLS after the greeting, or with TLS from the start (POP3S). Stored as the
// text "POP Security"; "POP Port", when stored, overrides the port that
// follows from the choice.

#include <QString>
#include <QStringList>

#include <optional>

enum class PopSecurity { None, Stls, Pop3s };

namespace PopSecurityText {

// The stored texts, in the order a settings page lists them:
// "none", "STLS", "POP3S".
QStringList names();
QString name(PopSecurity security);
// Letter case does not matter; an empty text is None. nullopt for any other
// text, so that a mistyped choice never sends a password unprotected.
std::optional<PopSecurity> parse(const QString& text);
// 110, or 995 for POP3S.
int defaultPort(PopSecurity security);

} // namespace PopSecurityText
