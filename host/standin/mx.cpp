// Stand-in libmx: arrays of our own with exact ownership bookkeeping.
//
// Every array and mxMalloc block is registered while alive.  Those made
// during a gateway call are reclaimed when the call ends unless they passed to
// the caller, and counted, so that a test can tell what a module released
// itself from what the host had to reclaim.  Releasing anything that is not
// live, or that the module does not own, is a contract breach and aborts.
#include "internal.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cmath>
#include <cstring>
#include <limits>
#include <type_traits>
#include <unordered_map>
#include <unordered_set>

namespace {

std::unordered_set<mxArray*> g_arrays;
std::unordered_map<void*, bool> g_blocks;  // block -> made during a call
bool g_in_call = false;
size_t g_destroyed = 0, g_freed = 0;
size_t g_memory_limit = size_t(4) << 30;  // bytes one array or block may take

// As on the host, a request beyond the memory available is an error of the
// call, reported like mexErrMsgTxt, never a crash.
void check_memory(size_t elements, size_t bytes_each) {
    if (bytes_each && elements > g_memory_limit / bytes_each)
        throw standin::detail::gateway_error("stand-in: out of memory or dimension too large.");
}

size_t elem_bytes(standin::cls c) {
    switch (c) {
        case standin::cls::int8_:
        case standin::cls::uint8_:
        case standin::cls::logical_: return 1;
        case standin::cls::int16_:
        case standin::cls::uint16_:
        case standin::cls::char_: return 2;
        case standin::cls::single_:
        case standin::cls::int32_:
        case standin::cls::uint32_: return 4;
        case standin::cls::int64_:
        case standin::cls::uint64_: return 8;
        default: return 0;
    }
}

// Element i of an array of a class with byte storage, as a double.
template <class T>
double element_as(const mxArray* a, size_t i) {
    T v;
    std::memcpy(&v, a->bytes.data() + i * sizeof v, sizeof v);
    return double(v);
}

double element(const mxArray* a, size_t i) {
    using standin::cls;
    switch (a->c) {
        case cls::double_: return a->re[i];
        case cls::single_: return element_as<float>(a, i);
        case cls::int8_: return element_as<int8_t>(a, i);
        case cls::uint8_: return element_as<uint8_t>(a, i);
        case cls::int16_: return element_as<int16_t>(a, i);
        case cls::uint16_:
        case cls::char_: return element_as<uint16_t>(a, i);
        case cls::int32_: return element_as<int32_t>(a, i);
        case cls::uint32_: return element_as<uint32_t>(a, i);
        case cls::int64_: return element_as<int64_t>(a, i);
        case cls::uint64_: return element_as<uint64_t>(a, i);
        case cls::logical_: return a->bytes[i] ? 1.0 : 0.0;
        default: return 0.0;
    }
}

// v rounded to the nearest integer and saturated, as the host's integer
// conversion does (NaN gives 0).
template <class T>
void store_as(mxArray* a, size_t i, double v) {
    T t;
    if (std::is_floating_point<T>::value) {
        t = T(v);
    } else if (v != v) {
        t = 0;
    } else {
        const double r = std::round(v);
        if (r <= double(std::numeric_limits<T>::min()))
            t = std::numeric_limits<T>::min();
        else if (r >= double(std::numeric_limits<T>::max()))
            t = std::numeric_limits<T>::max();
        else
            t = T(r);
    }
    std::memcpy(a->bytes.data() + i * sizeof t, &t, sizeof t);
}

void store(mxArray* a, size_t i, double v) {
    using standin::cls;
    switch (a->c) {
        case cls::double_: a->re[i] = v; break;
        case cls::single_: store_as<float>(a, i, v); break;
        case cls::int8_: store_as<int8_t>(a, i, v); break;
        case cls::uint8_: store_as<uint8_t>(a, i, v); break;
        case cls::int16_: store_as<int16_t>(a, i, v); break;
        case cls::uint16_:
        case cls::char_: store_as<uint16_t>(a, i, v); break;
        case cls::int32_: store_as<int32_t>(a, i, v); break;
        case cls::uint32_: store_as<uint32_t>(a, i, v); break;
        case cls::int64_: store_as<int64_t>(a, i, v); break;
        case cls::uint64_: store_as<uint64_t>(a, i, v); break;
        case cls::logical_: a->bytes[i] = v != 0; break;
        default: standin::detail::fault("numeric: not a numeric class");
    }
}

size_t count(const std::vector<size_t>& d) {
    size_t n = 1;
    for (size_t x : d) n *= x;
    return n;
}

void free_tree(mxArray* a) {
    for (mxArray* ch : a->children)
        if (ch) free_tree(ch);
    g_arrays.erase(a);
    delete a;
}

const mxArray* checked(const mxArray* a, const char* op) {
    if (!a || !g_arrays.count(const_cast<mxArray*>(a)))
        standin::detail::fault(std::string(op) + " on an array that is not live");
    return a;
}

}  // namespace

namespace standin {
namespace detail {

void fault(const std::string& what) {
    std::fprintf(stderr, "stand-in host: %s\n", what.c_str());
    std::abort();
}

mxArray* make(cls c, const std::vector<size_t>& dims_in) {
    std::vector<size_t> d = dims_in;
    while (d.size() < 2) d.push_back(d.empty() ? 0 : 1);
    while (d.size() > 2 && d.back() == 1) d.pop_back();
    size_t n = 1;
    for (size_t x : d) {
        if (x && n > SIZE_MAX / x) n = SIZE_MAX;
        else n *= x;
    }
    check_memory(n, c == cls::double_ || c == cls::cell_ ? 8 : std::max<size_t>(elem_bytes(c), 1));
    auto* a = new mxArray_tag;
    a->c = c;
    a->dims = d;
    for (size_t x : d) a->dims32.push_back(x > size_t(INT_MAX) ? INT_MAX : int(x));
    if (c == cls::double_)
        a->re.assign(n, 0.0);
    else if (c == cls::cell_)
        a->children.assign(n, nullptr);
    else
        a->bytes.assign(n * elem_bytes(c), 0);
    a->from_call = g_in_call;
    g_arrays.insert(a);
    return a;
}

void begin_call() {
    g_in_call = true;
    g_destroyed = g_freed = 0;
}

reclaim_counts end_call(const std::vector<mxArray*>& keep) {
    g_in_call = false;
    for (mxArray* k : keep)
        if (k && g_arrays.count(k)) k->from_call = false;
    reclaim_counts r{0, 0, g_destroyed, g_freed};
    std::vector<mxArray*> dead;
    for (mxArray* a : g_arrays)
        if (a->from_call && !a->child) dead.push_back(a);
    for (mxArray* a : dead) {
        free_tree(a);
        ++r.arrays;
    }
    for (auto it = g_blocks.begin(); it != g_blocks.end();) {
        if (it->second) {
            std::free(it->first);
            it = g_blocks.erase(it);
            ++r.blocks;
        } else {
            ++it;
        }
    }
    return r;
}

}  // namespace detail

mxArray* array(const std::vector<size_t>& d, const std::vector<double>& v) {
    mxArray* a = detail::make(cls::double_, d);
    for (size_t i = 0; i < v.size() && i < a->re.size(); ++i) a->re[i] = v[i];
    return a;
}
mxArray* matrix(size_t r, size_t c, const std::vector<double>& v) { return array({r, c}, v); }
mxArray* matrix(size_t r, size_t c, std::initializer_list<double> v) {
    return array({r, c}, std::vector<double>(v));
}
mxArray* scalar(double v) { return array({1, 1}, {v}); }

mxArray* complex_matrix(size_t r, size_t c, const std::vector<double>& re,
                        const std::vector<double>& im) {
    mxArray* a = array({r, c}, re);
    a->complex = true;
    a->im.assign(a->re.size(), 0.0);
    for (size_t i = 0; i < im.size() && i < a->im.size(); ++i) a->im[i] = im[i];
    return a;
}

mxArray* sparse(size_t r, size_t c, size_t nonzeros, bool is_logical) {
    mxArray* a = detail::make(is_logical ? cls::logical_ : cls::double_, {0, 0});
    a->dims = {r, c};
    a->dims32 = {int(r > INT_MAX ? INT_MAX : r), int(c > INT_MAX ? INT_MAX : c)};
    a->sparse = true;
    if (is_logical)
        a->bytes.assign(nonzeros, 1);
    else
        a->re.assign(nonzeros, 1.0);
    return a;
}

mxArray* of_class(cls c, const std::vector<size_t>& d) { return detail::make(c, d); }

mxArray* numeric(cls c, const std::vector<size_t>& d, const std::vector<double>& v) {
    mxArray* a = detail::make(c, d);
    const size_t n = count(a->dims);
    for (size_t i = 0; i < v.size() && i < n; ++i) store(a, i, v[i]);
    return a;
}

mxArray* logical(size_t r, size_t c, std::initializer_list<int> v) {
    mxArray* a = detail::make(cls::logical_, {r, c});
    size_t i = 0;
    for (int x : v)
        if (i < a->bytes.size()) a->bytes[i++] = (unsigned char)x;
    return a;
}

mxArray* text(const std::string& s) {
    mxArray* a = detail::make(cls::char_, {s.empty() ? 0u : 1u, s.size()});
    for (size_t i = 0; i < s.size(); ++i) a->bytes[2 * i] = (unsigned char)s[i];
    return a;
}

mxArray* cell(size_t r, size_t c, std::vector<mxArray*> el) {
    mxArray* a = detail::make(cls::cell_, {r, c});
    for (size_t i = 0; i < el.size() && i < a->children.size(); ++i) {
        a->children[i] = el[i];
        if (el[i]) el[i]->child = true;
    }
    return a;
}

mxArray* structure(std::vector<std::pair<std::string, mxArray*>> f) {
    mxArray* a = detail::make(cls::struct_, {1, 1});
    for (auto& p : f) {
        a->fields.push_back(p.first);
        a->children.push_back(p.second);
        if (p.second) p.second->child = true;
    }
    return a;
}

void release(mxArray* a) {
    checked(a, "release");
    free_tree(a);
}

std::vector<double> values(const mxArray* a) { return checked(a, "values")->re; }
std::vector<size_t> dims(const mxArray* a) { return checked(a, "dims")->dims; }
size_t live_arrays() { return g_arrays.size(); }
void memory_limit(size_t bytes) { g_memory_limit = bytes; }
size_t live_blocks() { return g_blocks.size(); }

}  // namespace standin

using standin::cls;

extern "C" {

// Hosts differ on an empty array (an error, or an undefined value): asking
// is a breach here.
double mxGetScalar(const mxArray* a) {
    checked(a, "mxGetScalar");
    if (count(a->dims) == 0) standin::detail::fault("mxGetScalar on an empty array, whose value is undefined");
    return element(a, 0);
}

// Like the host, storage of any class is handed out as it lies: a module
// that reads other classes as doubles reads past it, which the sanitizers see.
double* mxGetPr(const mxArray* a) {
    checked(a, "mxGetPr");
    if (a->c == cls::double_) return a->re.empty() ? nullptr : const_cast<double*>(a->re.data());
    return a->bytes.empty() ? nullptr
                            : reinterpret_cast<double*>(const_cast<unsigned char*>(a->bytes.data()));
}

double* mxGetPi(const mxArray* a) {
    checked(a, "mxGetPi");
    return a->complex && !a->im.empty() ? const_cast<double*>(a->im.data()) : nullptr;
}

void* mxGetData(const mxArray* a) {
    checked(a, "mxGetData");
    if (a->c == cls::double_) return mxGetPr(a);
    return a->bytes.empty() ? nullptr : const_cast<unsigned char*>(a->bytes.data());
}

const int* mxGetDimensions_700(const mxArray* a) { return checked(a, "mxGetDimensions_700")->dims32.data(); }
const mwSize* mxGetDimensions(const mxArray* a) { return checked(a, "mxGetDimensions")->dims.data(); }
mwSize mxGetNumberOfDimensions(const mxArray* a) { return checked(a, "mxGetNumberOfDimensions")->dims.size(); }
size_t mxGetNumberOfElements(const mxArray* a) { return count(checked(a, "mxGetNumberOfElements")->dims); }
size_t mxGetM(const mxArray* a) { return checked(a, "mxGetM")->dims[0]; }
size_t mxGetN(const mxArray* a) {
    checked(a, "mxGetN");
    size_t n = 1;
    for (size_t i = 1; i < a->dims.size(); ++i) n *= a->dims[i];
    return n;
}

int mxIsDouble(const mxArray* a) { return checked(a, "mxIsDouble")->c == cls::double_; }
int mxIsSparse(const mxArray* a) { return checked(a, "mxIsSparse")->sparse; }
int mxIsComplex(const mxArray* a) { return checked(a, "mxIsComplex")->complex; }
int mxIsChar(const mxArray* a) { return checked(a, "mxIsChar")->c == cls::char_; }
int mxIsCell(const mxArray* a) { return checked(a, "mxIsCell")->c == cls::cell_; }
int mxIsLogical(const mxArray* a) { return checked(a, "mxIsLogical")->c == cls::logical_; }
int mxIsStruct(const mxArray* a) { return checked(a, "mxIsStruct")->c == cls::struct_; }

const char* mxGetClassName(const mxArray* a) {
    switch (checked(a, "mxGetClassName")->c) {
        case cls::double_: return "double";
        case cls::single_: return "single";
        case cls::int8_: return "int8";
        case cls::logical_: return "logical";
        case cls::char_: return "char";
        case cls::cell_: return "cell";
        case cls::struct_: return "struct";
        case cls::function_: return "function_handle";
        case cls::uint8_: return "uint8";
        case cls::int16_: return "int16";
        case cls::uint16_: return "uint16";
        case cls::int32_: return "int32";
        case cls::uint32_: return "uint32";
        case cls::int64_: return "int64";
        case cls::uint64_: return "uint64";
    }
    return "unknown";
}

mxClassID mxGetClassID(const mxArray* a) {
    switch (checked(a, "mxGetClassID")->c) {
        case cls::double_: return mxDOUBLE_CLASS;
        case cls::single_: return mxSINGLE_CLASS;
        case cls::int8_: return mxINT8_CLASS;
        case cls::uint8_: return mxUINT8_CLASS;
        case cls::int16_: return mxINT16_CLASS;
        case cls::uint16_: return mxUINT16_CLASS;
        case cls::int32_: return mxINT32_CLASS;
        case cls::uint32_: return mxUINT32_CLASS;
        case cls::int64_: return mxINT64_CLASS;
        case cls::uint64_: return mxUINT64_CLASS;
        case cls::logical_: return mxLOGICAL_CLASS;
        case cls::char_: return mxCHAR_CLASS;
        case cls::cell_: return mxCELL_CLASS;
        case cls::struct_: return mxSTRUCT_CLASS;
        case cls::function_: return mxFUNCTION_CLASS;
    }
    return mxUNKNOWN_CLASS;
}

// Negative sizes give an empty array, as on the host.
mxArray* mxCreateDoubleMatrix_700(int m, int n, mxComplexity) {
    return standin::detail::make(cls::double_, {size_t(m < 0 ? 0 : m), size_t(n < 0 ? 0 : n)});
}
mxArray* mxCreateDoubleMatrix(mwSize m, mwSize n, mxComplexity) {
    return standin::detail::make(cls::double_, {m, n});
}
// Uninitialised on the host; here every element holds a signalling NaN with
// a payload no computation makes, so a module that leaves an element unwritten
// returns a value the tests see.
namespace {
mxArray* poisoned(mxArray* a) {
    double* v = mxGetPr(a);
    const uint64_t poison = 0x7ff4dead0000beefULL;
    for (size_t i = 0, k = mxGetNumberOfElements(a); i < k; ++i) std::memcpy(v + i, &poison, sizeof poison);
    return a;
}
}  // namespace
mxArray* mxCreateUninitNumericMatrix(size_t m, size_t n, mxClassID classid, mxComplexity flag) {
    if (classid != mxDOUBLE_CLASS || flag != mxREAL)
        standin::detail::fault("mxCreateUninitNumericMatrix: only real double arrays are made here");
    return poisoned(standin::detail::make(cls::double_, {m, n}));
}
mxArray* mxCreateUninitNumericArray(size_t ndim, const size_t* dims, mxClassID classid, mxComplexity flag) {
    if (classid != mxDOUBLE_CLASS || flag != mxREAL)
        standin::detail::fault("mxCreateUninitNumericArray: only real double arrays are made here");
    return poisoned(standin::detail::make(cls::double_, std::vector<size_t>(dims, dims + ndim)));
}
mxArray* mxCreateNumericArray(mwSize ndim, const mwSize* dims, mxClassID classid,
                              mxComplexity flag) {
    if (classid != mxDOUBLE_CLASS || flag != mxREAL)
        standin::detail::fault("mxCreateNumericArray: only real double arrays are made here");
    return standin::detail::make(cls::double_, std::vector<size_t>(dims, dims + ndim));
}

mxArray* mxCreateDoubleScalar(double v) {
    mxArray* a = standin::detail::make(cls::double_, {1, 1});
    a->re[0] = v;
    return a;
}

mxArray* mxCreateString(const char* text) { return standin::text(text ? text : ""); }

void mxDestroyArray(mxArray* a) {
    if (!a) return;
    checked(a, "mxDestroyArray");
    if (a->child) standin::detail::fault("mxDestroyArray on an element of a cell or structure");
    if (g_in_call && !a->from_call) standin::detail::fault("mxDestroyArray on an array the module does not own");
    free_tree(a);
    ++g_destroyed;
}

void* mxMalloc(size_t bytes) {
    check_memory(bytes, 1);
    void* p = std::malloc(bytes ? bytes : 1);
    if (!p) standin::detail::fault("mxMalloc: out of memory");
    g_blocks[p] = g_in_call;
    return p;
}

void mxFree(void* p) {
    if (!p) return;
    auto it = g_blocks.find(p);
    if (it == g_blocks.end()) standin::detail::fault("mxFree on a block that is not live");
    g_blocks.erase(it);
    std::free(p);
    ++g_freed;
}

mxArray* mxGetField(const mxArray* s, mwIndex index, const char* field) {
    checked(s, "mxGetField");
    if (s->c != cls::struct_ || index != 0 || !field) return nullptr;
    for (size_t f = 0; f < s->fields.size(); ++f)
        if (s->fields[f] == field) return s->children[f];
    return nullptr;
}

mxArray* mxGetCell(const mxArray* c, mwIndex index) {
    checked(c, "mxGetCell");
    if (c->c != cls::cell_ || index >= c->children.size()) return nullptr;
    return c->children[index];
}

// The copy is an mxMalloc block: the host reclaims it when the call ends.
char* mxArrayToString(const mxArray* a) {
    checked(a, "mxArrayToString");
    if (a->c != cls::char_) return nullptr;
    size_t n = a->bytes.size() / 2;
    char* s = static_cast<char*>(mxMalloc(n + 1));
    for (size_t i = 0; i < n; ++i) s[i] = (char)a->bytes[2 * i];
    s[n] = '\0';
    return s;
}

// As the hosts do: at most buflen - 1 characters and a terminator; 1 when the
// text did not fit or is no text.
mxChar* mxGetChars(const mxArray* a) {
    checked(a, "mxGetChars");
    if (a->c != cls::char_) return nullptr;
    return reinterpret_cast<mxChar*>(const_cast<unsigned char*>(a->bytes.data()));
}

int mxGetString(const mxArray* a, char* buf, mwSize buflen) {
    checked(a, "mxGetString");
    if (buflen < 1) return 1;
    if (a->c != cls::char_) {
        buf[0] = '\0';
        return 1;
    }
    const size_t n = a->bytes.size() / 2, room = size_t(buflen) - 1;
    const size_t k = n < room ? n : room;
    for (size_t i = 0; i < k; ++i) buf[i] = (char)a->bytes[2 * i];
    buf[k] = '\0';
    return n > room ? 1 : 0;
}

}  // extern "C"
