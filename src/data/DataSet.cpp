#include "data/DataSet.h"

namespace varst {

void ResetDataSet(DataSet& dataSet) {
  dataSet.TimeModeFlag = -1;
  dataSet.Grf_Hist_Ptr = 0;
  dataSet.SeriesInfo.clear();
  dataSet.RefFileSeq = 0;
  dataSet.FileCount = 0;
  dataSet.FileList.clear();
  dataSet.DrawnFileCount = 0;
}

}  // namespace varst
