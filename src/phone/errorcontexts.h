#pragma once

// The texts that start the technical message of a failed connectivity call,
// one per kind of call. They go to the log only and are not translated.
// "Mangement" is spelled as the log readers and support scripts expect it.
namespace Orvak_API::Context {

inline constexpr char DevicesInit[] = "Orvak Device Mangement API: Initialization fault";
inline constexpr char FilesInit[] = "Orvak Phone File System API: Initialization fault";
inline constexpr char OpenDM[] = "Orvak Device Mangement API: Cannot open device management connection";
inline constexpr char OlderVersion[] = "Orvak Device Mangement API: is of older version";
inline constexpr char GetDevices[] = "Orvak Device Mangement API: Cannot get device info";
inline constexpr char OpenFS[] = "Orvak Phone File System API: Cannot access phone file system";
inline constexpr char CopyToPhone[] = "Orvak Phone File System API: Copying file from PC to Phone";
inline constexpr char CopyToPC[] = "Orvak Phone File System API: Copying file from Phone to PC";
inline constexpr char DeleteFile[] = "Orvak Phone File System API: Deleting file from Phone";
inline constexpr char ReadFile[] = "Orvak Phone File System API: Reading file from Phone";
inline constexpr char ReadFileSystem[] = "Orvak Phone File System API: Reading phone file system";
inline constexpr char RefreshMemory[] = "Orvak Device Mangement API: Refreshing memory info";
inline constexpr char MemoryTypes[] = "Orvak Device Mangement API: Getting memory types";
inline constexpr char MemoryValues[] = "Orvak Device Mangement API: Getting memory values";

} // namespace Orvak_API::Context
