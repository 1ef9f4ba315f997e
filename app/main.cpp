#include "app/game.h"

int main() { return RunGame(); }
