#pragma once

class CViewHost;
class FileItem;

// The menu bar's entries that act on the selected video, kept in step with
// the selection of My collection and Scan results.
namespace ItemActions {

// The ten entries of the File menu that act on items or tasks.
void disableAll(const CViewHost *host);
// Enabled by what can be done with this one item.
void enableFor(const CViewHost *host, const FileItem *item);
void setEnabled(const CViewHost *host, const char *objectName, bool enabled);

} // namespace ItemActions
