// The program entry of lumora-cli; everything it does is RunCli's (main.cpp).
#include "commands.h"

int main(int argc, char** argv) { return RunCli(argc, argv); }
