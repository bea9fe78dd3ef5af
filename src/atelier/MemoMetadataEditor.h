// The memo as the tree window's metadata editor ("メタデータの編集 (&M)").
#pragma once

// Makes every tree window of the program edit metadata in the memo (TFormMemo) instead of the
// plain one-line dialog. Call once at start. O(1).
void installMemoMetadataEditor();
