// TEMPORARY: stand-ins for the setup editor's members until the editor is merged.
// Delete this file once it is.
#include "flow/game.h"

namespace tavlon {

void Game::ShowSetupFigure(bool active, int index) {
    port_.ShowSetupFigureImage(active, index);
}

void Game::PlaceFromSetup() {}
void Game::RemoveFromSetup() {}

} // namespace tavlon
