#pragma once
// Starting another program of the suite. The arguments are handed over one
// by one (QProcess), so no argument needs quotes around it: a file name with
// blanks arrives as one argument without any quoting of ours.
#include <QString>
#include <QStringList>

// Starts the program and waits for its end while the event loop keeps
// running, so that the caller's windows still paint. Problems are shown as
// error messages; false when the program could not be started or did not
// end normally.
bool ShellExecuteAndWait(const QString& program, const QStringList& arguments);

// Starts the program and returns at once; false when it could not be
// started, which is shown as an error message.
bool ShellExecuteDetached(const QString& program, const QStringList& arguments);
