#pragma once
// The steps of an atomic save, and a hook through which tests make any step
// fail as the system would.
#include <functional>
#include <string>

namespace varno {

enum class SaveStep { CreateTemp, WriteTemp, SyncTemp, Lock, Backup, Rename, SyncFolder };
inline constexpr int kSaveStepCount = 7;

// Called before each step; a non-zero result is taken as the errno of that
// step's failure. Empty (the default): no step fails but by itself.
using SaveFaultHook = std::function<int(SaveStep)>;
void SetSaveFaultHook(SaveFaultHook hook);
// The error a step is to fail with, 0 for none.
int InjectedFault(SaveStep step);

// The file a path names, through symbolic links (relative links from the
// link's folder); the path itself when it is no link. Up to 40 links.
std::string ResolveLinks(const std::string& path);

// May this process replace the file of stat mode/owner? The mode decides,
// also for root: a read-only file is not written over.
bool MayReplace(const std::string& path, unsigned mode, unsigned owner);

}  // namespace varno
