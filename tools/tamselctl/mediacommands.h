#pragma once

#include <QStringList>

class QTextStream;

// tamselctl's media subcommands. Each returns the exit code: 0 done, 1 failed
// (the friendly and the technical message are on err), 2 wrong usage.
namespace MediaCommands {

// probe FILE...: one line per file: path, seconds, bytes, frame rate, audio.
int probe(const QStringList &args, QTextStream &out, QTextStream &err);
// convert FILE [--quality low|medium|high] [--caps WxH@KBPS] [--out DIR]:
// converts with the program's own rules and prints the output path; progress
// goes to err; Ctrl+C cancels and leaves nothing behind.
int convert(const QStringList &args, QTextStream &out, QTextStream &err);

} // namespace MediaCommands
