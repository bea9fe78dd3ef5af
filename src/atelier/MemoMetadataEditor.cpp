#include "MemoMetadataEditor.h"

#include "TFormMemo.h"

#include "universe/NebuMetaBand.h"

void installMemoMetadataEditor() {
    setMetadataEditor([](QWidget* owner, const MetaEditRequest& request) {
        std::optional<QStringList> lines;
        if (request.text) lines = QStringList{*request.text};
        TFormMemo memo(lines, owner, request.basePath);
        memo.setWindowTitle(request.caption);
        memo.setTopText(request.topText);
        memo.setMiddleText(request.middleText);
        memo.exec();
        return MetaEditResult{memo.saveRequested(), memo.isModified(), memo.text()};
    });
}
