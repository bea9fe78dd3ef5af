// The line and field rules shared by the catalog files (url.txt, group.txt, anime.txt).
#pragma once

#include <QString>
#include <QStringList>

class CatalogLine {
public:
    // The records of a catalog file read from a local folder: each line whole (never split at a
    // buffer length) and ended by a line feed, the last line too; lines of fewer than three
    // characters and comments (first character ':' or '\'') are dropped. Cost: linear.
    static QStringList localRecords(const QStringList& lines);

    // A fetched line as a record: the line ended by a line feed, no other rule.
    static QString remoteRecord(const QString& line) { return line + u'\n'; }

    // Splits a record into its fields with cutField: a field ends at TAB, LF, ',' or ';' and loses
    // the characters <= 0x20 before that separator; leading spaces stay. Text after the last
    // separator is not a field. Cost: quadratic in the number of fields (they are few).
    static QStringList fields(QString record);

    // The integer of a flag field as wtoi reads it (spaces, sign, digits; 0 without digits),
    // or `fallback` when the field is missing or empty.
    static int flagValue(const QStringList& fields, int index, int fallback);
};
