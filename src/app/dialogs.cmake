# Qt dialogs kept in their subsystem folders; built into one library for the desktop program.
