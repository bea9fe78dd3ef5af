// Start-up settings (command-line words and settings-file lines) and the comma-list splitter.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// Stores the command-line arguments (without the program name) for findSetting. The words are
// split on the first lookup after this call: at most 16 words, leading characters below '0'
// (quotes, dashes, slashes) dropped, spaces separating words.
void setCommandLine(const QStringList& arguments);

// Looks `key` up (case-insensitive over the key's length, ASCII letters only): first among the
// command-line words, then among the settings lines (leading spaces skipped). Returns the text
// after the key, or nothing. A key without "=" matches any word that begins with it.
std::optional<QString> findSetting(const QString& key, const QStringList* settingsLines = nullptr);

// Splits a field off `text` at the first ',', TAB, LF or ';'. On a separator: `text` becomes the
// field with trailing characters <= 0x20 removed (never its first character) and the rest after
// the separator is returned, leading spaces kept. Without a separator: nothing, text unchanged.
std::optional<QString> cutField(QString& text);

// Removes CR and LF characters from the end of the text, repeatedly.
void cutLineEnd(QString& text);

// ASCII-only case-insensitive prefix and equality tests (non-ASCII letters compare exactly).
bool startsWithCaseless(QStringView text, QStringView prefix);
bool equalsCaseless(QStringView a, QStringView b);
inline char16_t foldAscii(char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c; }
