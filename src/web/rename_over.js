// SPDX-License-Identifier: GPL-3.0-or-later
// Emscripten 3.1.6's file system keeps the file a rename replaced in its table of names, so
// unlinking the new file later brings the replaced one back under that name. Every save of
// the core (settings, the station's log and marker) replaces a file by a rename; once the
// rename has succeeded, the replaced file leaves the table too.
Module["preRun"] = [].concat(Module["preRun"] || [], function () {
  var rename = FS.rename;
  FS.rename = function (oldPath, newPath) {
    var replaced = null;
    try {
      replaced = FS.lookupPath(newPath).node;
    } catch (absent) {
      replaced = null;
    }
    rename(oldPath, newPath);
    if (replaced !== null && replaced !== FS.lookupPath(newPath).node) {
      FS.hashRemoveNode(replaced);
    }
  };
});
