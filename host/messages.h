// Every message bayesmex raises, each written once: its reason (the last
// word of the identifier bayesmex:FUNCTION:REASON, on which callers branch)
// and its text.  A reason with several texts names each by a variant
// (notScalar.M, badWeight.log, ...): the argument forms and the reasons
// lines of manifest.txt name messages so, and the test of the help texts and
// the README reads this table to check that every message a function can
// raise is documented.  Texts with % are formats, filled where they are
// raised.
//
// The texts are the callers' contract: keep every one as it is, historical
// wordings included ("lenght", "metric.logical", "a same size").
#ifndef BAYESMEX_MESSAGES_H
#define BAYESMEX_MESSAGES_H

enum class msg : unsigned char {
    too_many_outputs, wrong_output_count, wrong_input_count,
    input_class, field_class, not_real, too_many_dims, input_empty,
    size_range, size_inconsistent,
    not_scalar_first, not_scalar_second, not_scalar_m, not_scalar_b, not_scalar_seed,
    not_vector_x, not_vector_p,
    not_integer,
    bad_weight, zero_weights, weights_overflow,
    empty_log_weights, bad_log_weight, zero_log_weights,
    not_column, length_mismatch_average, length_mismatch_quantile,
    nan_value, not_sorted, percent_range,
    not_finite, zero_d, negative_chi, negative_psi,
    improper_both, improper_chi, improper_psi, too_extreme,
    no_bracket, bad_start_density, bad_start_step, too_many_rejections,
    missing_type, missing_length_scale, missing_components, missing_deltadist,
    type_not_string, wrong_type, length_scale_shape, components_shape, length_scale_length,
    deltadist_shape, deltadist_sparse, deltadist_length, column_range,
    host_class, host_count, host_sort_count, host_sort_order, host_rejections,
    random_state, random_self_check_rand, random_self_check_randn,
    internal_order, internal_span, internal_replicates, internal_door,
    memory_dims, memory_bytes, memory_value, memory_result,
    count_
};

struct message_row {
    msg key;
    const char* reason;
    const char* variant;  // "" where the reason has one text
    const char* text;
};

// One text for a class refused at an input and inside one (a field, a cell).
constexpr const char* message_class_text = "%s must be a full double array, not %.40s.";

inline constexpr message_row messages[] = {
    // ---- counts
    {msg::too_many_outputs, "tooManyOutputs", "", "Too many output arguments."},
    {msg::wrong_output_count, "wrongOutputCount", "", "Wrong number of output arguments."},
    {msg::wrong_input_count, "wrongInputCount", "", "Wrong number of input arguments."},
    // ---- classes and shapes (%s: "Input K", or the part's name; then the class)
    {msg::input_class, "inputClass", "", message_class_text},
    {msg::field_class, "fieldClass", "", message_class_text},
    {msg::not_real, "notReal", "", "%s must be real."},
    {msg::too_many_dims, "tooManyDims", "", "%s must not have more than two dimensions."},
    {msg::input_empty, "inputEmpty", "", "%s must not be empty beyond its second dimension."},
    // ---- sizes
    {msg::size_range, "sizeRange", "", "Sizes must be finite and smaller than 2^31 in magnitude."},
    {msg::size_inconsistent, "sizeInconsistent", "", "Size information is inconsistent."},
    {msg::not_scalar_first, "notScalar", "first", "First argument must be a scalar."},
    {msg::not_scalar_second, "notScalar", "second", "Second argument must be a scalar."},
    {msg::not_scalar_m, "notScalar", "M", "M must be a scalar."},
    {msg::not_scalar_b, "notScalar", "B", "B must be a scalar."},
    {msg::not_scalar_seed, "notScalar", "seed", "SEED and K must be real scalars."},
    {msg::not_vector_x, "notVector", "X", "X must be a vector."},
    {msg::not_vector_p, "notVector", "P", "P must be a vector."},
    // ---- values
    {msg::not_integer, "notInteger", "", "SEED and K must be whole numbers from 0 to 2^53."},
    {msg::bad_weight, "badWeight", "", "Weights must be finite and not negative."},
    // What exp(loglik) gives when every log-likelihood underflows.
    {msg::zero_weights, "zeroWeights", "", "Weights must not all be zero."},
    {msg::weights_overflow, "weightsOverflow", "", "Weights must have a finite sum."},
    {msg::empty_log_weights, "emptyInput", "", "Log-weights must not be empty."},
    {msg::bad_log_weight, "badWeight", "log", "Log-weights must not be NaN or +Inf."},
    {msg::zero_log_weights, "zeroWeights", "log", "Log-weights must not all be -Inf."},
    {msg::not_column, "notColumn", "", "W must be a column vector."},
    {msg::length_mismatch_average, "lengthMismatch", "average", "W must have same length as X."},
    {msg::length_mismatch_quantile, "lengthMismatch", "quantile", "W must be a same size as X."},
    {msg::nan_value, "nanValue", "", "X must not contain NaN."},
    {msg::not_sorted, "notSorted", "", "X must be in ascending order."},
    {msg::percent_range, "percentRange", "", "P must be between 0 and 100."},
    // ---- the conditional scale law and its sampler
    {msg::not_finite, "notFinite", "", "Inputs must be finite."},
    {msg::zero_d, "zeroD", "", "D must not be zero."},
    {msg::negative_chi, "negativeChi", "", "A*B must not be negative."},
    {msg::negative_psi, "negativePsi", "", "C*E/D must not be negative."},
    {msg::improper_both, "improperLaw", "both", "A*B and C*E/D must not both be zero."},
    {msg::improper_chi, "improperLaw", "chi", "B - C*E must be negative when A*B is zero."},
    {msg::improper_psi, "improperLaw", "psi", "B - C*E must be positive when C*E/D is zero."},
    {msg::too_extreme, "tooExtreme", "", "The parameters are too extreme: the law's mode or width overflows."},
    {msg::no_bracket, "noBracket", "",
     "The sampler's bracketing search found no finite point where the log-density falls."},
    {msg::bad_start_density, "badStart", "density",
     "The log-density and its derivative must be finite at the sampler's start point."},
    {msg::bad_start_step, "badStart", "step",
     "The sampler's start point and step must be finite, the step positive."},
    {msg::too_many_rejections, "tooManyRejections", "",
     "The sampler rejected 100000 proposals without accepting one."},
    // ---- the metric structure
    {msg::missing_type, "missingField", "type", "Could not get metric.type"},
    {msg::missing_length_scale, "missingField", "lengthScale", "Could not get metric.lengthScale"},
    {msg::missing_components, "missingField", "components", "Could not get metric.components"},
    {msg::missing_deltadist, "missingField", "deltadist", "Could not get metric.deltadist"},
    {msg::type_not_string, "typeNotString", "", "metric.type must be a string."},
    {msg::wrong_type, "wrongType", "", "Wrong type of metric."},
    {msg::length_scale_shape, "lengthScaleShape", "", "metric.lengthScale must be a scalar or a vector."},
    {msg::components_shape, "componentsShape", "", "metric.components must be a one dimensional cell array."},
    {msg::length_scale_length, "lengthScaleLength", "",
     "metric.lengthScale must be scalar or its lenght must be the same as the number of components."},
    {msg::deltadist_shape, "deltadistShape", "", "metric.deltadist must be a logical vector."},
    {msg::deltadist_sparse, "deltadistSparse", "",
     "metric.deltadist must be a full logical array, not sparse."},
    {msg::deltadist_length, "deltadistLength", "",
     "metric.logical must be of the same length as the number of components."},
    {msg::column_range, "columnRange", "",
     "metric.components must list column numbers from 1 to the number of columns of x."},
    // ---- what the host's functions return (%s: rand, randn or sort)
    {msg::host_class, "hostValues", "class", "The host's %s must return a full real double array, not %.40s."},
    {msg::host_count, "hostValues", "count",
     "The host's %s returned %zu values where a %.0f-by-%.0f array was asked for."},
    {msg::host_sort_count, "hostValues", "sortCount",
     "The host's sort returned %zu values where %d were given to it."},
    {msg::host_sort_order, "hostValues", "sortOrder",
     "The host's sort must return the percentiles in ascending order."},
    {msg::host_rejections, "hostValues", "rejections",
     "The host's rand returned values from which ten thousand rejection passes in a row accept no draw."},
    {msg::random_state, "randomState", "",
     "The host's uniform generator has a state of zero words, from which it never returns a value."},
    // A warning: the call goes on by call-backs.
    {msg::random_self_check_rand, "randomSelfCheck", "rand",
     "A fast path to the host's rand gave other values than its call-backs and is off for this session."},
    {msg::random_self_check_randn, "randomSelfCheck", "randn",
     "A fast path to the host's randn gave other values than its call-backs and is off for this session."},
    // ---- faults of ours or of a broken host
    {msg::internal_order, "internal", "order", "Internal error: random values were fetched out of order."},
    {msg::internal_span, "internal", "span", "Internal error: a span of random values straddles two blocks."},
    {msg::internal_replicates, "internal", "replicates",
     "Internal error: more bootstrap replicates drawn than announced."},
    {msg::internal_door, "internal", "door", "Internal error: the host's generator could not be drawn from."},
    // ---- memory (Octave)
    {msg::memory_dims, "outOfMemory", "dims", "Out of memory: %s %s doubles%s cannot be had."},
    {msg::memory_bytes, "outOfMemory", "bytes", "Out of memory: %zu bytes of working memory cannot be had."},
    {msg::memory_value, "outOfMemory", "value", "Out of memory: Octave could not make a value the call needs."},
    {msg::memory_result, "outOfMemory", "result",
     "Out of memory: the host's function could not make its result."},
};

constexpr const message_row& message_of(msg m) { return messages[static_cast<int>(m)]; }

// The rows are in the order of the enumeration, one each.
constexpr bool messages_in_order() {
    for (int i = 0; i < static_cast<int>(msg::count_); ++i)
        if (static_cast<int>(messages[i].key) != i) return false;
    return sizeof messages / sizeof messages[0] == static_cast<int>(msg::count_);
}
static_assert(messages_in_order(), "one message row per key, in the order of msg");

#endif
