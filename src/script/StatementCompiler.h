// Compiles one statement into its code: keywords to single code characters, declared names to
// name codes, control words and functions to their codes, variables and numbers to item tokens.
// The compiler only writes codes; Evaluator.h and ControlFlow.h give them meaning.
#pragma once

#include <QStringView>

class kestoBasInfo;
struct progInfo;

// Fills statement.code from `text` (one statement, without its ';'). Declares a `BitMap` / `DotPtn`
// name, reports an undeclared identifier to the message list (the code then keeps the text coded so
// far) and adds items. Throws ScriptFault when the item table is full. Cost: O(length * keywords)
// for the coding pass, O(length^2) at worst for the later passes.
void compileStatement(kestoBasInfo& interpreter, progInfo& statement, QStringView text);

// True for a line of picture or map data: none of ':', '$', '=', ';' and no letter G to Z or g to z.
bool isDataRow(QStringView text);
