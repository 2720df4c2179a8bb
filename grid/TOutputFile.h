#ifndef VEILGRID_GRID_TOUTPUTFILE_H
#define VEILGRID_GRID_TOUTPUTFILE_H

#include <memory>
#include <ostream>
#include <string>

/// A file written safely: the text goes to a temporary file beside it, which replaces the file
/// only when Commit finds everything written and closed. An existing file is never left
/// half-written and keeps its permissions (and its owner where allowed); a new file gets 0666
/// less the umask; a symbolic link is followed and stays; an existing device or pipe
/// (/dev/null) is written in place. Without Commit, or when it fails, no temporary file remains
/// and the file is as it was.
class TOutputFile {
  public:
    /// Opens the output for StrFileName. Fails with "Unable to open file " + StrFileName for an
    /// empty name, a folder, a missing folder, no permission to create the file, or an existing
    /// file that may not be written.
    explicit TOutputFile(const std::string& StrFileName);
    /// As above; with BlnHoldDevices, a device or pipe is not opened now but at Commit, which then
    /// writes it the text kept meanwhile in an unnamed temporary file, so that nothing reaches it
    /// before Commit. Its failure to open is then met at Commit.
    TOutputFile(const std::string& StrFileName, bool BlnHoldDevices);
    ~TOutputFile();
    TOutputFile(const TOutputFile&) = delete;
    TOutputFile& operator=(const TOutputFile&) = delete;

    /// The stream to write the file's text to. Once a write failed it takes nothing more and
    /// shows the failure in its state.
    std::ostream& GetStream();
    /// Flushes and closes the file and puts it in place. Fails with "Unable to write file " +
    /// the name when a write, the close or the rename failed; the file is then as it was.
    void Commit();

  private:
    struct TState;
    std::unique_ptr<TState> MbrPtrState;
};

#endif
