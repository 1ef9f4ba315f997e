#include "platform/web/page.h"

#include <emscripten/emscripten.h>

#include "platform/web/web_backend.h"

namespace {

bool playAgain = false;

}  // namespace

// The page's play-again screen calls this.
extern "C" EMSCRIPTEN_KEEPALIVE void WebPlayAgain() {
    playAgain = true;
    WebWake();
}

bool WebSavedMute() { return WebStoredMute() == 1; }

void WebKeepMute(bool muted) { WebStoreMute(muted ? 1 : 0); }

void WebAwaitPlayAgain(int status) {
    playAgain = false;
    WebGameEnded(status);
    while (!playAgain) WebSleep(1000);
}

void WebSavePicture(const uint8_t* page, const PALETTEENTRY palette[256]) { WebPictureSave(page, palette); }
