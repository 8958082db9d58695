#pragma once
// Base of the suite's own exceptions: a message in UTF-16 and a class name
// that reports show.
#include <QString>
#include <exception>
#include <string>

class Exception : public std::exception {
 public:
  explicit Exception(QString message) : message_(std::move(message)), utf8_(message_.toStdString()) {}
  const QString& Message() const { return message_; }
  const char* what() const noexcept override { return utf8_.c_str(); }
  virtual QString ClassName() const { return QStringLiteral("Exception"); }

 private:
  QString message_;
  std::string utf8_;
};

// The class name of any object or exception, without namespaces, as reports show it.
QString DemangledClassName(const std::type_info& type);
