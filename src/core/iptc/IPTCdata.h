#pragma once

namespace lumatrim {

class TimgData;

// The IPTC item store of one photo.
class TIPTCdata {
 public:
  explicit TIPTCdata(TimgData* owner);
  virtual ~TIPTCdata();

 private:
  TimgData* owner_;
};

}  // namespace lumatrim
