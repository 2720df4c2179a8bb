#ifndef VEILGRID_APP_TMASKCOMMAND_H
#define VEILGRID_APP_TMASKCOMMAND_H

#include <string>

/// The work of the veilgrid command once its operands are read: cuts the mask grid to the cells
/// it shares with the source grid, recodes the flag value and writes the result grid.
class TMaskCommand {
  public:
    /// The operands of one run.
    struct TArguments {
        std::string MbrStrMaskFile;
        double MbrDblFlag = 0;
        double MbrDblExclude = 0;
        std::string MbrStrSourceFile;
        std::string MbrStrOutputFile;
        /// Read both grids with TARCGISFileTools::LoadARCGISFileTolerant.
        bool MbrBlnTolerant = false;
    };

    /// Runs the command. Fails with the command's messages: those of the grid reader (the mask
    /// first), "Resolution of the mask does not match resolution of the source map", "Cell edges
    /// of the mask do not line up with the cells of the source map", "Maps do not intersect in
    /// TMapTools::Intersection", and those of the grid writer. Nothing is written unless every
    /// check passed.
    static void Run(const TArguments& Arguments);
};

#endif
