#include "DialogChooserSink.h"

#include "TFormCheck.h"

#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

void DialogChooserSink::choosePath(const QString& filter, const QString& title, QString& path,
                                   QWidget* parent, const QString& startFolder) {
    const bool folder = filter.isEmpty();
    QFileDialog dialog(parent, folder ? QStringLiteral("銀河の選択") : QStringLiteral("[星]の選択"));
    dialog.setOption(QFileDialog::DontUseNativeDialog); // a desktop portal may not answer at all
    dialog.setLabelText(QFileDialog::LookIn, title);
    QString first = path.isEmpty() ? startFolder : path;
    if (!first.isEmpty() && !QFileInfo(first).isDir()) first = QFileInfo(first).path();
    if (!first.isEmpty()) dialog.setDirectory(first);
    if (folder) {
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly);
    } else {
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setNameFilter(filter);
        if (!path.isEmpty() && !QFileInfo(path).isDir()) dialog.selectFile(path);
    }
    path.clear();
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    path = dialog.selectedFiles().constFirst();
    if (folder && !path.endsWith(u'/')) path += u'/';
}

void DialogChooserSink::chooseDrives(QStringList& drives, QWidget* parent) {
    QDialog dialog(parent, Qt::Dialog | Qt::FramelessWindowHint);
    dialog.setStyleSheet(QStringLiteral("QDialog { background: #004000; border: 7px solid #004000; }"
                                        "QLabel { color: #00ffff; }"));
    auto* column = new QVBoxLayout(&dialog);
    column->setContentsMargins(7, 7, 7, 7);
    for (const char* band : {"全階層検索 ツリーログ", "作成小宇宙"}) {
        auto* label = new QLabel(QString::fromUtf8(band), &dialog);
        label->setFont(TFormCheck::checkFont(false));
        column->addWidget(label);
    }
    auto* list = new QListWidget(&dialog);
    list->setStyleSheet(QStringLiteral("QListWidget { background: white; color: #004000; }"));
    for (const QString& root : drives) {
        auto* item = new QListWidgetItem(QStringLiteral("    ") + root, list);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
    }
    column->addWidget(list);
    auto* note = new QLabel(QStringLiteral("数分から数１０分かかります"), &dialog);
    column->addWidget(note);
    auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
    auto* cancel = new QPushButton(QStringLiteral("キャンセル"), &dialog);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    column->addLayout(buttons);
    dialog.resize(320, std::min(23 * static_cast<int>(drives.size()) + 144, 480));
    QStringList chosen;
    if (dialog.exec() == QDialog::Accepted) {
        for (int i = 0; i < list->count(); ++i)
            if (list->item(i)->checkState() == Qt::Checked) chosen.append(drives[i]);
    }
    drives = chosen;
}
