// Colours the program text of the Atelier's editor line by line from the core's colour spans; Qt
// recolours only the lines an edit touches, so typing a `$`, a quote or the last letter of a
// keyword recolours its line at once.
#pragma once

#include <QSyntaxHighlighter>

class AtelierModel;

class AcmdHighlighter : public QSyntaxHighlighter {
    Q_OBJECT
public:
    // `model` (colours and board) must outlive the highlighter.
    AcmdHighlighter(QTextDocument* document, const AtelierModel& model);

protected:
    void highlightBlock(const QString& text) override;

private:
    const AtelierModel& model_;
};
