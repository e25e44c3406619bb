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
%   The modules and the libraries each one links are read from the
%   bayesmex_module, bayesmex_library and bayesmex_depends lines of
%   CMakeLists.txt, so this script needs no edit when a module is added.
%
%   Needs MATLAB R2018a or later and a C++17 compiler set up with
%   `mex -setup C++`.  Modules use the separate-complex API (-R2017b): they
%   read the real parts of complex inputs through mxGetPr, which the
%   interleaved-complex API (-R2018a) refuses for complex arrays.  The 32-bit
%   size operations mxGetDimensions_700 and mxCreateDoubleMatrix_700 that
%   host/host.h declares come from MATLAB's libmx.
%
%   Flags are those of the CMake build: -O2 -ffp-contract=off
%   -fno-math-errno -std=c++17, never -ffast-math, so results are bit for bit
%   those of the Octave build.

  root = fileparts(fileparts(mfilename('fullpath')));
  if nargin < 1 || isempty(outdir)
    outdir = fullfile(root, 'build-matlab');
  end
  dryrun = nargin >= 2 && strcmpi(mode, 'dryrun');

  [modules, sources] = module_sources(fullfile(root, 'CMakeLists.txt'));

  % Appended to mex's own flags, so a later -std wins over its default.
  % CXXOPTIMFLAGS replaces mex's "-O2 -fwrapv -DNDEBUG".
  flags = {'-R2017b', ...
           'CXXFLAGS=$CXXFLAGS -std=c++17 -ffp-contract=off -fno-math-errno', ...
           'CXXOPTIMFLAGS=-O2', ...
           'LDFLAGS=$LDFLAGS -Wl,-Bsymbolic'};

  if ~dryrun && ~exist(outdir, 'dir')
    mkdir(outdir);
  end
  for i = 1:numel(modules)
    name = modules{i};
    files = cellfun(@(s) fullfile(root, s), sources{i}, 'UniformOutput', false);
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

% The modules named by bayesmex_module(NAME libs...) lines, and for each the
% list of sources: modules/NAME.cpp, then the sources of its libraries and of
% the libraries they depend on (bayesmex_library, bayesmex_depends), the
% argument checks (hostargs) among them.
function [modules, sources] = module_sources(cmakelists)
  text = fileread(cmakelists);
  lib_src = containers.Map();
  lib_dep = containers.Map();
  for c = calls(text, 'bayesmex_library')
    lib_src(c{1}{1}) = c{1}(2:end);
  end
  for c = calls(text, 'bayesmex_depends')
    lib_dep(c{1}{1}) = c{1}(2:end);
  end
  modules = {};
  sources = {};
  for c = calls(text, 'bayesmex_module')
    name = c{1}{1};
    seen = {};
    srcs = {['modules/' name '.cpp']};
    pending = [c{1}(2:end), {'hostargs'}];
    while ~isempty(pending)
      lib = pending{1};
      pending(1) = [];
      if any(strcmp(seen, lib)) || ~isKey(lib_src, lib)
        continue;
      end
      seen{end+1} = lib; %#ok<AGROW>
      srcs = [srcs, lib_src(lib)]; %#ok<AGROW>
      if isKey(lib_dep, lib)
        pending = [pending, lib_dep(lib)]; %#ok<AGROW>
      end
    end
    modules{end+1} = name; %#ok<AGROW>
    sources{end+1} = srcs; %#ok<AGROW>
  end
  if isempty(modules)
    error('build_bayesmex: no bayesmex_module lines in %s', cmakelists);
  end
end

% The arguments of each call COMMAND(arg arg ...) that starts a line, one
% cell of words per call.
function out = calls(text, command)
  found = regexp(text, ['^' command '\(([^)]*)\)'], 'tokens', 'lineanchors');
  out = cellfun(@(t) regexp(strtrim(t{1}), '\s+', 'split'), found, ...
                'UniformOutput', false);
end
