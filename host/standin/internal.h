// Shared by the stand-in's libmx and libmex: the array record and the
// bookkeeping of what a gateway call made and released.
#ifndef BAYESMEX_STANDIN_INTERNAL_H
#define BAYESMEX_STANDIN_INTERNAL_H

#include "standin.h"

#include <string>
#include <vector>

struct mxArray_tag {
    standin::cls c = standin::cls::double_;
    bool sparse = false;
    bool complex = false;
    bool child = false;      // element of a cell or field of a structure: its parent owns it
    bool from_call = false;  // made during a gateway call, so reclaimed when it ends
    std::vector<size_t> dims;
    std::vector<int> dims32;
    std::vector<double> re, im;         // double
    std::vector<unsigned char> bytes;   // every other class with storage
    std::vector<mxArray*> children;     // cell elements; structure fields (one element)
    std::vector<std::string> fields;
};

namespace standin {
namespace detail {

// Raised by mexErrMsgTxt (and by the host's own failures, such as running out
// of memory) and caught by the harness: the module never resumes.
struct gateway_error {
    std::string text;
    std::string identifier;  // empty for mexErrMsgTxt and the host's own failures
    explicit gateway_error(std::string t, std::string id = "")
        : text(std::move(t)), identifier(std::move(id)) {}
};

[[noreturn]] void fault(const std::string& what);  // a host-contract breach: abort
mxArray* make(cls c, const std::vector<size_t>& dims);
void begin_call();
struct reclaim_counts {
    size_t arrays, blocks, destroyed, freed;
};
// Ends the call: `keep` passes to the test, every other array or block made
// during the call and still alive is reclaimed and counted.
reclaim_counts end_call(const std::vector<mxArray*>& keep);

}  // namespace detail
}  // namespace standin

#endif
