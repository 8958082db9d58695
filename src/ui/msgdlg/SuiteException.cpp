#include "SuiteException.h"

#include <cxxabi.h>
#include <cstdlib>
#include <typeinfo>

QString DemangledClassName(const std::type_info& type) {
  int status = 0;
  char* name = abi::__cxa_demangle(type.name(), nullptr, nullptr, &status);
  QString result = QString::fromLatin1(status == 0 && name ? name : type.name());
  std::free(name);
  const qsizetype colon = result.lastIndexOf(QLatin1String("::"));
  return colon >= 0 ? result.mid(colon + 2) : result;
}
