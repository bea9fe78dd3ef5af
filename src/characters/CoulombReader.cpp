#include "CoulombReader.h"

#include "anime/AnimeBlockInput.h"
#include "anime/AnimeReaders.h"
#include "anime/AnimeState.h"

#include <cmath>
#include <memory>

std::optional<QString> readCoulomb(AnimeState& state, AnimeBlockInput& input, const QString& params) {
    ParamFields fields(params);
    const QString name = input.nameText(fields.next().value_or(QString()));
    const auto field = fields.next();
    if (isEmptyParam(field)) return QStringLiteral("Q");
    const auto q = input.evaluate(*field);
    if (!q || input.status() == RunStatus::NoValue || !(std::fabs(*q) <= kMaxCoulombCharge)) return QStringLiteral("Q");
    const auto lft = readIntParam(fields, input, -kPlaceLimit, kPlaceLimit);
    if (!lft) return QStringLiteral("lft");
    const auto top = readIntParam(fields, input, -kPlaceLimit, kPlaceLimit);
    if (!top) return QStringLiteral("top");

    AnimeInfo& c = state.createCharacter(name, int(*lft), int(*top), 1, 1, 1, 1);
    state.setSameNameIndex(c, state.sameNameCount(c));
    c.disp = 0; // a charge is never drawn and does not move by itself
    state.charges.push_back(std::make_unique<AnimeCharge>(AnimeCharge{&c, *q}));
    return std::nullopt;
}
