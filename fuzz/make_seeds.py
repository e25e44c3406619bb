#!/usr/bin/env python3
"""Writes the seed corpus: a few typical calls per module of the manifest, in
the byte encoding that fuzz_gateway.cpp reads (see the comment at its top).
A module without calls of its own below gets two generic ones."""
import os

SPECIAL = ['nan', 'inf', '-inf', 0.0, '-0', 1.0, 2.0, 3.0, 0.5, 2.9, -1.0, -2.5, 1e308, -1e308,
           5e-324, 1e-300, 1e-5, 2e-5, 18.0, 1.5e-8, 2147483647.0, 2147483648.0, -2147483649.0,
           4294967296.0, 1e10, 100.0, 1e5, 1e4, -1e5, 0.1, 1e-15, 65536.0]


def val(v):
    for i, s in enumerate(SPECIAL):
        if s == v and type(s) == type(v):
            return i
    b = round(v * 8) + len(SPECIAL)
    assert 0 <= b <= 255 and (b - len(SPECIAL)) / 8 == v, v
    return b


def dbl(rows, cols, values=None):
    values = values if values is not None else [1.0] * (rows * cols)
    return bytes([0, 0, rows, cols] + [val(v) for v in values])


def scalar(v):
    return dbl(1, 1, [v])


def integer(kind, rows, cols, values):  # kind: int8, uint8, ..., uint64 (0-7)
    return bytes([7, kind, 0, rows, cols] + [val(v) for v in values])


def text(i):  # 0: "metric_euclidean"
    return bytes([10, i])


def logical(rows, cols, values):
    return bytes([9, rows, cols] + values)


def cell(rows, cols, elements):
    out = bytes([11, rows, cols])
    for e in elements:
        out += bytes([1]) + e  # nonzero: the element is present
    return out


def struct(fields):  # fields: list of (name index, argument)
    out = bytes([12, len(fields)])
    for name, arg in fields:
        out += bytes([name]) + arg
    return out


def call(nlhs, *args, stream=b''):
    return bytes([len(args), nlhs]) + b''.join(args) + bytes([3]) + stream


U = bytes([0, 40, 0, 36, 0, 44, 0, 38, 1, 36, 1, 40])  # a few "rand" and "randn" values
METRIC = struct([(0, text(0)), (1, scalar(1.0)), (2, cell(1, 1, [dbl(1, 2, [1.0, 2.0])])),
                 (3, logical(1, 1, [0]))])
SEEDS = {
    'meanshape_draw': [call(1, scalar(2.0), scalar(5.0), stream=U),
                       call(1, dbl(2, 3), scalar(1.0), scalar(2.0), scalar(3.0), stream=U)],
    'invchisq_draw': [call(1, scalar(1.0), scalar(4.0), scalar(3.0), scalar(2.0), stream=U)],
    'studentt_draw': [call(1, dbl(1, 3, [1.0, 2.0, 5.0]), stream=U),
                      call(1, scalar(5.0), scalar(3.0), scalar(2.0), stream=U)],
    'exponential_draw': [call(1, scalar(2.5), scalar(4.0), scalar(5.0), stream=U)],
    'simplex_draw': [call(1, scalar(3.0), scalar(4.0), stream=U),
                     call(1, integer(1, 1, 1, [3.0]), integer(4, 1, 1, [2.0]), stream=U)],
    'meanshape_draw1': [call(1, scalar(2.0), scalar(5.0), stream=U)],
    'invchisq_draw1': [call(1, scalar(1.0), scalar(4.0), stream=U)],
    'hyperscale_draw1': [call(1, scalar(1.0), scalar(2.0), scalar(1.0), scalar(2.0), scalar(3.0),
                              stream=U * 4)],
    'particles_multinomial': [call(1, dbl(1, 4, [0.0, 1.0, 0.0, 3.0]), scalar(3.0), stream=U),
                              call(1, dbl(1, 2, [1.0, 2.0]), integer(6, 1, 1, [3.0]),
                                   integer(0, 1, 1, [2.0]), stream=U)],
    'particles_residual': [call(1, dbl(3, 1, [1.0, 2.0, 5.0]), scalar(8.0), scalar(1.0), stream=U)],
    'particles_stratified': [call(1, dbl(3, 1, [1.0, 1.0, 2.0]), scalar(4.0), scalar(1.0), stream=U)],
    'particles_systematic': [call(1, dbl(3, 1, [1.0, 1.0, 2.0]), scalar(4.0), scalar(1.0), stream=U),
                             call(1, dbl(1, 4, [0.0, 1.0, 0.0, 3.0]), scalar(-2.0), stream=U)],
    'particles_weights': [call(3, dbl(1, 4, [0.0, -1e5, 'inf', 2.5])),
                          call(2, dbl(2, 2, [-1e308, '-inf', 1e-300, 0.5]))],
    'particles_deterministic': [call(1, dbl(1, 3, [1.0, 1.0, 1.0]), scalar(5.0), scalar(1.0))],
    'weightboot_average': [call(1, dbl(5, 3), scalar(4.0), dbl(5, 1), stream=U * 4),
                           call(1, dbl(5, 3), integer(2, 1, 1, [3.0]), stream=U * 4)],
    'weightboot_quantile': [call(1, dbl(4, 1, [1.0, 2.0, 3.0, 4.0]), dbl(1, 2, [25.0, 10.0]),
                                 scalar(2.0), stream=U * 2)],
    'metric_pairwise': [call(1, METRIC, dbl(2, 2, [0.0, 3.0, 0.0, 4.0]))],
    'bayesmex_seed': [call(2, scalar(2.0), scalar(3.0)), call(0, scalar(1e5), scalar(0.0))],
    'psi_eval': [call(1, dbl(2, 3, [1.0, 0.5, 5.0, -2.5, 0.0, 100.0]))],
    'hyptan_fast': [call(1, dbl(1, 4, [0.5, 18.0, -1.0, 1.5e-8]))],
}

def manifest_modules(path):
    """The module names of the manifest, in its order."""
    names = []
    with open(path) as f:
        for line in f:
            words = line.split('#', 1)[0].split()
            if words[:1] == ['module']:
                names.append(words[1])
    return names


here = os.path.dirname(os.path.abspath(__file__))
modules = manifest_modules(os.path.join(here, '..', 'manifest.txt'))
unknown = sorted(set(SEEDS) - set(modules))
if unknown:
    raise SystemExit('seeds for modules the manifest does not list: ' + ', '.join(unknown))
GENERIC = [call(1, scalar(2.0), stream=U), call(1, dbl(2, 3), scalar(3.0), stream=U)]
for module in modules:
    folder = os.path.join(here, 'corpus', module)
    os.makedirs(folder, exist_ok=True)
    for i, seed in enumerate(SEEDS.get(module, GENERIC)):
        with open(os.path.join(folder, 'seed%d' % i), 'wb') as f:
            f.write(seed)
