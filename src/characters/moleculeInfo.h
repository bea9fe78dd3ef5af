// The molecule: a disc of its colour whose side follows from its mass (ten times the cube root),
// bouncing off the molecules it overlaps like a billiard ball with the restitution (eX) of both.
// Its dots are drawn as a plain picture; the collisions come first, in the frame it is drawn.
#pragma once

#include "anime/AnimeKind.h"

#include <QString>
#include <optional>

class AnimeBlockInput;
class AnimeState;

class moleculeInfo : public AnimeKind {
public:
    static constexpr int kMaxMass = 40000;
    // Separation steps one collision may take.
    static constexpr int kMaxSeparationSteps = 100;

    moleculeInfo(AnimeInfo& self, int mass) : self_(self), mass_(mass) {}

    int kindCode() const override;
    // Resolves this molecule's collisions and lets the character draw its disc. Cost: linear
    // in the characters after it (plus up to kMaxSeparationSteps per overlapping pair).
    bool draw(AnimeCanvas& canvas, const AnimeInfo& self, const AnimeKindDraw& at) override;

    int mass() const { return mass_; }
    // Side of the disc of a molecule of this mass: trunc(mass^(1/3) x 10). Cost: constant.
    static int sideOfMass(int mass);
    // Bounces this molecule (A) off every molecule B after it in the character list that it
    // overlaps, visible or not, and moves B out of the overlap. Cost: linear in the characters.
    void collide();

private:
    AnimeInfo& self_;
    int mass_;
};

// Reader of a Molecule declaration: name, mass, lft, top, mvx, mvy, color.
std::optional<QString> readMolecule(AnimeState& state, AnimeBlockInput& input, const QString& params);
