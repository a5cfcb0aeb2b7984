// The two ticks that keep the meters' readings current: the network tick
// (levels and texts only) and the update tick (processor and memory). The
// window's timer dispatch calls them and renews the picture.
#pragma once

void NetTick();
void UpdateTick();
