#pragma once
// Where the pricing files of an address lie: AddressDir + folder ("001" ...)
// + identifier + extension. The identifier becomes part of a file name, so
// one that would leave its folder is never used.
#include <QString>

#include "PathUtils.h"

// The identifier of the standard tables for every customer without their own.
inline const char* const kDefaultAddressId = "__DEFAULT__";

// False for an identifier that could leave its folder (IsSafePathComponent).
inline bool IsUsableAddressId(const QString& id) { return IsSafePathComponent(id); }
// The file, or empty when the identifier is not usable.
QString PricingFilePath(const QString& addressDir, const QString& folder, const QString& id,
                        const QString& extension);
