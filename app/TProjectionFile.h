#ifndef VEILGRID_APP_TPROJECTIONFILE_H
#define VEILGRID_APP_TPROJECTIONFILE_H

#include <string>

/// The projection that travels with a grid: the file beside it with the same name, its extension
/// replaced by ".prj" (mask.asc: mask.prj; a name without extension gets ".prj" appended).
class TProjectionFile {
  public:
    /// The .prj name beside StrGridFile.
    static std::string NameFor(const std::string& StrGridFile);

    /// Copies the mask grid's .prj beside the output grid, or the source grid's when the mask has
    /// none; does nothing when neither has one or when the output is not a regular file (a device
    /// such as /dev/null). The copy is written through TOutputFile (a temporary file and a
    /// rename), so an existing .prj of the output is replaced whole or left as it was; none is
    /// ever deleted. Call it once the output grid is written. Fails with "Unable to open file
    /// <prj>" (a .prj that exists but cannot be opened, or a folder of that name), "Unable to read
    /// file <prj>", or the messages of TOutputFile for the copy.
    static void CopyBeside(const std::string& StrMaskFile, const std::string& StrSourceFile,
                           const std::string& StrOutputFile);
};

#endif
