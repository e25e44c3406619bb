function build_bayesmex(outdir, mode)
% BUILD_BAYESMEX  Build every bayesmex module for MATLAB with mex.
%
%   UNTESTED: MATLAB was not available where this script was written, so it
%   has never been run in MATLAB.  Octave users: install the package instead
%   (pkg install bayesmex-VERSION.tar.gz), or build with CMake.
%
%   build_bayesmex
%   build_bayesmex(OUTDIR)
%   build_bayesmex(OUTDIR, 'dryrun')
%
%   Compiles each module, modules/NAME.cpp with the library sources it
%   links, into OUTDIR/NAME.mexa64 (the platform's MEX suffix), and copies
%   its help text help/NAME.m beside it: MATLAB prefers the MEX file to the
%   .m file of the same name in one folder, and `help NAME` reads the .m
%   file.  OUTDIR defaults to build-matlab/ in the source tree; add it to the
%   path with addpath.  'dryrun' only prints the mex calls.
%
%   The modules and the sources each one is compiled from come from the
%   manifest (manifest.txt, read by bayesmex_manifest), so this script needs
%   no edit when a module is added.
%
%   Needs MATLAB R2018a or later and a C++17 compiler set up with
%   `mex -setup C++`.  Modules use the separate-complex API (-R2017b): they
%   read the real parts of complex inputs through mxGetPr, which the
%   interleaved-complex API (-R2018a) refuses for complex arrays.  The 32-bit
%   size operations mxGetDimensions_700 and mxCreateDoubleMatrix_700 that
%   host/host.h declares come from MATLAB's libmx.
%
%   Flags are those of the CMake build: -O2 -fno-fast-math -ffp-contract=off
%   -fno-math-errno -std=c++17, so results are bit for bit those of the
%   Octave build.  The m-file functions (inst/: the demo) are Octave's only.

  root = fileparts(fileparts(mfilename('fullpath')));
  if nargin < 1 || isempty(outdir)
    outdir = fullfile(root, 'build-matlab');
  end
  dryrun = nargin >= 2 && strcmpi(mode, 'dryrun');

  manifest = bayesmex_manifest(fullfile(root, 'manifest.txt'));
  modules = manifest.modules;

  % Appended to mex's own flags, so a later -std wins over its default.
  % CXXOPTIMFLAGS replaces mex's "-O2 -fwrapv -DNDEBUG".
  flags = {'-R2017b', ...
           'CXXFLAGS=$CXXFLAGS -std=c++17 -fno-fast-math -ffp-contract=off -fno-math-errno', ...
           'CXXOPTIMFLAGS=-O2', ...
           'LDFLAGS=$LDFLAGS -Wl,-Bsymbolic'};

  if ~dryrun && ~exist(outdir, 'dir')
    mkdir(outdir);
  end
  for i = 1:numel(modules)
    name = modules(i).name;
    files = cellfun(@(s) fullfile(root, s), modules(i).sources, 'UniformOutput', false);
    args = [flags, {'-outdir', outdir, '-output', name}, files];
    if dryrun
      quoted = regexprep(args, '^(.* .*)$', '''$1''');
      fprintf('mex %s\n', strjoin(quoted, ' '));
      continue;
    end
    fprintf('%s\n', name);
    mex(args{:});
    copyfile(fullfile(root, 'help', [name '.m']), fullfile(outdir, [name '.m']));
  end
  if ~dryrun
    fprintf('%d modules in %s\n', numel(modules), outdir);
  end
end
