#pragma once

// Answers --help (-h) and --version (-v) on standard output, before any
// display is opened, so that both work without one. True when one was
// answered and the program ends there with exit code 0; every other argument
// is left to the toolkit.
bool answerInformationOptions(int argc, char **argv);
