// Copying and moving that leave the target as it was unless they succeed: the contents go into a
// temporary file beside the target, which then takes the target's place in one rename.
#pragma once
#include "ops/FileFailure.h"
#include "framework/FileSystem.h"
#include "framework/KnownFiles.h"
#include <windows.h>
#include <functional>

// Copies pszSource over pszTarget (whose folder exists); onChunk runs after each chunk of a long copy.
// On failure no temporary file is left, an existing target keeps its contents, and the failure says
// which step it was. On success the target joins the written files.
FileFailure CopyReplacing(LPCSTR pszSource, LPCSTR pszTarget, const std::function<void()>& onChunk,
                          CKnownFiles& written);

// Moves pszSource over pszTarget: a rename on one volume, across volumes a copy as above and then
// the source's deletion. A source that is no longer as listed is not moved. On success the target
// joins the written files.
FileFailure MoveReplacing(LPCSTR pszSource, LPCSTR pszTarget, const ListedState& listed,
                          const std::function<void()>& onChunk, CKnownFiles& written);
