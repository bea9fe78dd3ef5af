// The memo "Memo": a modal editor of a short text (a star's metadata) with a change lamp, a
// preview of the page the text describes, and the answer whether the user asked to store it.
// The caller sets the caption and the two band texts, runs it modally, then reads
// saveRequested(), isModified() and text(), and frees it.
//
// The preview page is drawn here in a frame of the size the text names: text, table and html
// pages as the chart view writes them, other kinds named with their data; the file universe's
// page window will take its place.
#pragma once

#include <QDialog>
#include <QStringList>

#include <memory>
#include <optional>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSplitter;
class QTextEdit;

class TFormMemo : public QDialog {
    Q_OBJECT
public:
    // The editor shows `lines` one to a line, or "設定なし" without them; unchanged, no preview.
    // `owner` (may be nullptr) is the window the memo is centred on; `basePath` is the folder a
    // page's relative file names start from. Cost: building the widgets.
    TFormMemo(const std::optional<QStringList>& lines, QWidget* owner, const QString& basePath);
    ~TFormMemo() override;

    // The band texts the caller sets: the top band (format) and the middle band (data kinds).
    void setTopText(const QString& text);
    void setMiddleText(const QString& text);

    // "更新終了" was pressed.
    bool saveRequested() const { return saveRequested_; }
    bool isModified() const;
    QString text() const;
    QPlainTextEdit& editor() { return *Memo; }
    // The lamp's colour, 0x00BBGGRR: 0xFFFF80 unchanged, 0x40FFFF changed.
    uint32_t lampColour() const { return lamp_; }

    // "プレビュー": the page for the editor's text replaces an open one; the preview panel takes
    // its last height (at least 30, else half the editor panel). Cost: parsing the text.
    void previewClick();
    // "非表示": closes the page; the panel shrinks to 16 pixels, its last height is kept.
    void hidePreviewClick();
    QWidget* preview() const;
    // The open page's text; empty without a page.
    QString previewText() const;
    QWidget& previewPanel();
    QWidget& editorPanel() { return *PanelBak; }
    int previewHeight() const { return previewHeight_; }
    QPushButton* button(const QString& caption) const;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void build();
    void textChanged();
    // Keeps the preview panel 40 pixels lower than the editor panel and remembers its height.
    void followSplitter();
    void centrePreview();
    void setPreviewHeight(int height);

    QWidget* owner_; // not owned
    QString basePath_;
    bool saveRequested_ = false;
    uint32_t lamp_ = 0;
    int previewHeight_ = 10;
    uint32_t previewWindowId_ = 0;
    // The open page; it lives in PanelView and goes before it.
    std::unique_ptr<QTextEdit> preview_;

    // Children (Qt frees them); non-owning links.
    QWidget* PanelTop = nullptr;
    QLabel* PanelTopText = nullptr;
    QWidget* PanelRgt = nullptr;
    QWidget* PanelMid = nullptr;
    QLabel* PanelMidText = nullptr;
    QWidget* PanelMidRgt = nullptr;
    QLabel* PanelChg = nullptr;
    QWidget* PanelBak = nullptr;
    QSplitter* Splitter = nullptr;
    QPlainTextEdit* Memo = nullptr;
    QLabel* PanelView = nullptr;
};
