#pragma once

// Registers the main window's commands of the master lists: opening the medicine, supplier,
// customer, employee and member lists (OpenMedicine, OpenSupply, OpenCustom, OpenEmployee,
// SetMember) and adding, editing and deleting their rows (AddMedicine, EditMedicine,
// DelMedicine, ... AddMember, EditMember, DelMember).
void RegisterMasterDataCommands();
