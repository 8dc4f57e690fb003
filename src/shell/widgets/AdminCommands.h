#pragma once

// Registers the operator window (SetUser) and the change-password window (ChangePassword).
void RegisterAdminCommands();
