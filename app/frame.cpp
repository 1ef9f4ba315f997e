#include "app/frame.h"

#include "sim/sim.h"
#include "view/view.h"

void UpdateAndDrawFrame() {
    if (frameCounter > 81) UpdatePlayer();
    UpdateAircraft();
    DrawScene();
    UpdateDivers();
    ResolveContacts();
    DrawStatus();
}
