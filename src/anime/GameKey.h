// The key codes that the work window hands to the game kinds. They are Windows virtual key codes,
// because the games' programs were written against those; the game pad and the keyboard make
// them and a game reads them as its moves. A code without a name here (a letter, a digit) still
// passes as GameKey(code).
#pragma once

enum class GameKey : int {
    None = 0,
    Undo = 8, // "戻", Backspace
    Tab = 9,
    Enter = 13,
    Escape = 27,
    Space = 32,
    Left = 37,
    Up = 38,
    Right = 39,
    Down = 40,
    NextStage = 107,     // "+", the keypad's "+"
    PreviousStage = 109, // "－", the keypad's "-"
    MainPlus = 187,      // the main keyboard's "=" / "+": a game receives it as NextStage
    MainMinus = 189,     // the main keyboard's "-": a game receives it as PreviousStage
};
