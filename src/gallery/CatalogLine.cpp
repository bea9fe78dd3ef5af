#include "CatalogLine.h"

#include "common/Numbers.h"
#include "common/Settings.h"

QStringList CatalogLine::localRecords(const QStringList& lines) {
    QStringList records;
    for (const QString& line : lines) {
        // A line of fewer than four characters counting its line end carries no record.
        if (line.size() < 3) continue;
        if (line.front() == u':' || line.front() == u'\'') continue;
        records.append(line + u'\n');
    }
    return records;
}

QStringList CatalogLine::fields(QString record) {
    QStringList out;
    while (std::optional<QString> rest = cutField(record)) {
        out.append(record);
        record = std::move(*rest);
    }
    return out;
}

int CatalogLine::flagValue(const QStringList& fields, int index, int fallback) {
    if (index >= fields.size() || fields[index].isEmpty()) return fallback;
    // Only what wtoi would read: a float reader would take "1e3" as a thousand.
    const QString& field = fields[index];
    qsizetype end = 0;
    while (end < field.size() && (field[end] == u' ' || field[end] == u'\t')) ++end;
    if (end < field.size() && (field[end] == u'+' || field[end] == u'-')) ++end;
    while (end < field.size() && field[end] >= u'0' && field[end] <= u'9') ++end;
    return parseLeadingInt(QStringView(field).left(end));
}
