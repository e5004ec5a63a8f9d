#include "dxf/header_edits.h"

namespace pixdraft {

TStringList HeaderEdits::Apply(const TStringList& header) const {
  TStringList copy;
  copy.Encoding = header.Encoding;
  copy.DefaultEncoding = header.DefaultEncoding;
  copy.WriteBOM = header.WriteBOM;
  copy.LineBreak = header.LineBreak;
  auto edit = edits_.begin();
  for (int i = 0; i <= header.Count(); ++i) {
    const bool edited = edit != edits_.end() && edit->first == i;
    if (edited) {
      for (const std::u16string& line : edit->second.inserted) copy.Add(line);
    }
    if (i < header.Count()) {
      copy.Add(edited && edit->second.replacement ? *edit->second.replacement : header[i]);
    }
    if (edited) ++edit;
  }
  return copy;
}

}  // namespace pixdraft
