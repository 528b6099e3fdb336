// Reading a dialog's edit box as a signed 32-bit integer, the way users know from Windows dialogs.
#pragma once

// Accepts blanks around the number, one optional sign and at least one decimal digit, nothing else.
// Refuses empty text, any other character and values outside the signed 32-bit range; *value is
// written only on success.
bool ParseDialogInt(const char* text, int* value);
