// The subcommands besides render, each in its own file; argv as main
// receives it, the command word first. Their exit status.
#pragma once

int RunPrint(int argc, char** argv);
int RunSplash(int argc, char** argv);
