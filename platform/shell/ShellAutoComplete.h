#pragma once
// Registers the shell's auto-complete object and its source lists with our
// COM, so that CoCreateInstance can make them. The program calls this once at
// start-up, before any auto-complete edit gets its window.

void RegisterShellAutoComplete();
