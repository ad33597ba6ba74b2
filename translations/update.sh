#!/bin/sh
# Refreshes the translation sources from the code; run after changing user-visible texts.
cd "$(dirname "$0")/.." && exec /usr/lib/qt6/bin/lupdate -no-obsolete -locations none src app -ts translations/Tamsel_*.ts
