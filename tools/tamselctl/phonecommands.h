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
// ls SERIAL [MEMORY]: the videos of one memory with size and date.
int ls(const QStringList &args, QTextStream &out, QTextStream &err);
// push SERIAL FILE [--memory N]: a file into the memory's video folder.
int push(const QStringList &args, QTextStream &out, QTextStream &err);
// pull SERIAL PHONEPATH DIR: a phone file into a PC folder.
int pull(const QStringList &args, QTextStream &out, QTextStream &err);
// rm SERIAL PHONEPATH: deletes a phone file.
int rm(const QStringList &args, QTextStream &out, QTextStream &err);
// info SERIAL: the phone's video limits, the quality a new phone gets and
// its pictures.
int info(const QStringList &args, QTextStream &out, QTextStream &err);

} // namespace PhoneCommands
