#pragma once
// The process-wide objects of the start-up, shared by its two source files.
#include <memory>

#include "MemIniFile.h"
#include "TypeUnit.h"

struct TypeUnitState {
  std::unique_ptr<TSystemEinstellungen> system;
  std::unique_ptr<TBenutzerEinstellungen> user;
  std::unique_ptr<TMemIniFile> globalAppIni;
  std::unique_ptr<TMemIniFile> userAppIni;
  TColorScheme scheme;
  TDefaultRect defaultRect;
};

TypeUnitState& TypeUnitGlobals();
