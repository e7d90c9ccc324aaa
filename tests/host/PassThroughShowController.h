#pragma once
#include <windows.h>

// How many messages of this kind the host has handed on to the show
// controller in this process so far.
int messagesHandedToShow(UINT message);
