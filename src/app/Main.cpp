// The main window; built in the next steps.
