#pragma once

#include <QStringList>

class QTextStream;

// tamselctl's phone subcommands. Each returns the exit code: 0 done, 1 failed
// (the friendly and the technical message are on err), 2 wrong usage.
namespace PhoneCommands {

// devices: the attached phones with their memories.
int devices(const QStringList &args, QTextStream &out, QTextStream &err);
// demo-phone [DIR]: a folder phone with a few short clips in DIR (by default
// the connectivity library's devices folder).
int demoPhone(const QStringList &args, QTextStream &out, QTextStream &err);

} // namespace PhoneCommands
