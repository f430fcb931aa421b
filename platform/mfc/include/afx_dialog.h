// Dialogs and controls of the framework (the dialog part).
