// The point charge: an invisible 1 x 1 character whose position is the position of a charge
// appended to the animation's charge list, which owns it. Setting the character's X or Y moves
// the charge; every character with a Charge feels it in its motion (applyCharges).
#pragma once

#include <QString>
#include <optional>

class AnimeBlockInput;
class AnimeState;

// Largest charge Q of either sign.
inline constexpr double kMaxCoulombCharge = 1000;

// Reader of a Coulomb declaration: name, Q (a real, not rounded), lft, top. Cost: constant.
std::optional<QString> readCoulomb(AnimeState& state, AnimeBlockInput& input, const QString& params);
