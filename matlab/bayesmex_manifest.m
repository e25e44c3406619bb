function m = bayesmex_manifest(file, varargin)
% BAYESMEX_MANIFEST  Read bayesmex's manifest: its libraries, modules and m-files.
%
%   M = bayesmex_manifest
%   M = bayesmex_manifest(FILE)
%
%   Reads FILE (default: manifest.txt at the top of the source tree, whose
%   top comment gives the format) and returns a struct with fields
%     groups     struct array: key, title (the package INDEX's headings)
%     libraries  struct array: name, sources, links, reasons (the message
%                keys of its reasons lines)
%     modules    struct array: name, group, libs, and sources: modules/NAME.cpp,
%                then the sources of every library it links, directly or
%                through another, each once
%     mfiles     struct array: name, group
%   and on each module and mfile its contract (the indented lines below it):
%     args       its argument form's text ('' for an mfile)
%     reasons    cell of the message keys it raises beyond its form's
%     call       the valid call's text ('' for an mfile)
%     sizes      the input numbers that are sizes or counts in its form
%                (a row vector)
%     shape      '', 'any' or 'keep'
%     except     cell of the shared checks it does not take part in
%     lookfor    cell of the words lookfor finds it by
%   C = bayesmex_manifest('call', TEXT) returns {NAME, NOUT, IN}: the function
%   a call names, its output count and its inputs, evaluated as Octave (or
%   MATLAB) evaluates them.
%   Paths are relative to the top of the source tree.  CMake reads the same
%   file and checks every line; a test checks that the MATLAB build script
%   compiles each module from the same sources as CMake.  Runs in MATLAB and
%   Octave.

  if nargin == 2 && strcmp(file, 'call')
    m = parse_call(varargin{1});
    return;
  end
  if nargin < 1
    file = fullfile(fileparts(fileparts(mfilename('fullpath'))), 'manifest.txt');
  end
  m.groups = struct('key', {}, 'title', {});
  m.libraries = struct('name', {}, 'sources', {}, 'links', {}, 'reasons', {});
  contract = {'args', '', 'reasons', {{}}, 'call', '', 'sizes', [], 'shape', '', 'except', {{}}, ...
              'lookfor', {{}}};
  m.modules = struct('name', {}, 'group', {}, 'libs', {}, 'sources', {}, contract{:});
  m.mfiles = struct('name', {}, 'group', {}, contract{:});
  owner = '';

  lines = regexp(fileread(file), '\r?\n', 'split');
  for i = 1:numel(lines)
    text = strtrim(regexprep(lines{i}, '#.*', ''));
    words = regexp(text, '\s+', 'split');
    if isempty(words{1})
      continue;
    end
    if any(lines{i}(1) == sprintf(' \t'))
      % A contract line of the module or mfile above.
      if isempty(owner)
        error('bayesmex_manifest: %s:%d: an indented line belongs under a library, a module or an mfile', ...
              file, i);
      end
      rest = strtrim(text(numel(words{1}) + 1:end));
      k = numel(m.(owner));
      if strcmp(owner, 'libraries') && ~strcmp(words{1}, 'reasons')
        error('bayesmex_manifest: %s:%d: a library takes reasons lines only', file, i);
      end
      switch words{1}
        case 'args'
          % The inputs NAME:KIND, in order; sizes are those of kind size or count.
          m.(owner)(k).args = rest;
          inputs = regexp(rest, '[A-Z][A-Z0-9_]*:(\w+)', 'tokens');
          kinds = cellfun(@(t) t{1}, inputs, 'UniformOutput', false);
          m.(owner)(k).sizes = find(strcmp(kinds, 'size') | strcmp(kinds, 'count'));
        case 'reasons'
          m.(owner)(k).reasons = [m.(owner)(k).reasons, words(2:end)];
        case 'call'
          m.(owner)(k).call = rest;
        case 'shape'
          m.(owner)(k).shape = rest;
        case 'except'
          m.(owner)(k).except = words(2:end);
        case 'lookfor'
          % Words, or a phrase in double quotes.
          phrases = regexp(rest, '"[^"]*"|[^\s"]+', 'match');
          m.(owner)(k).lookfor = [m.(owner)(k).lookfor, strrep(phrases, '"', '')];
        case 'seed'
          % the fuzz corpus's (fuzz/make_seeds.py)
        otherwise
          error('bayesmex_manifest: %s:%d: unknown contract line ''%s''', file, i, words{1});
      end
      continue;
    end
    owner = '';
    if numel(words) < 2
      error('bayesmex_manifest: %s:%d: an entry needs a name', file, i);
    end
    rest = words(3:end);
    colon = find(strcmp(rest, ':'), 1);
    links = {};
    if ~isempty(colon)
      links = rest(colon + 1:end);
      rest = rest(1:colon - 1);
    end
    switch words{1}
      case 'group'
        m.groups(end + 1) = struct('key', words{2}, 'title', strjoin(rest, ' '));
      case 'library'
        m.libraries(end + 1) = struct('name', words{2}, 'sources', {rest}, 'links', {links}, 'reasons', {{}});
        owner = 'libraries';
      case 'module'
        m.modules(end + 1) = struct('name', words{2}, 'group', strjoin(rest, ' '), ...
                                    'libs', {links}, 'sources', {{}}, contract{:});
        owner = 'modules';
      case 'mfile'
        m.mfiles(end + 1) = struct('name', words{2}, 'group', strjoin(rest, ' '), contract{:});
        owner = 'mfiles';
      otherwise
        error('bayesmex_manifest: %s:%d: unknown entry ''%s''', file, i, words{1});
    end
  end

  names = {m.libraries.name};
  for k = 1:numel(m.modules)
    srcs = {['modules/' m.modules(k).name '.cpp']};
    seen = {};
    pending = m.modules(k).libs;
    while ~isempty(pending)
      lib = pending{1};
      pending(1) = [];
      if any(strcmp(seen, lib))
        continue;
      end
      j = find(strcmp(names, lib), 1);
      if isempty(j)
        error('bayesmex_manifest: %s links %s, which is no library', m.modules(k).name, lib);
      end
      seen{end + 1} = lib; %#ok<AGROW>
      srcs = [srcs, m.libraries(j).sources]; %#ok<AGROW>
      pending = [pending, m.libraries(j).links]; %#ok<AGROW>
    end
    m.modules(k).sources = srcs;
  end
end

function c = parse_call(text)
  % [OUT, ...] = NAME(ARGS), OUT = NAME(ARGS) or NAME(ARGS).
  open = find(text == '(', 1);
  close = find(text == ')', 1, 'last');
  if isempty(open) || isempty(close)
    error('bayesmex_manifest: ''%s'' is no call', text);
  end
  head = text(1:open - 1);
  eq = find(head == '=', 1);
  nout = 0;
  if ~isempty(eq)
    nout = 1 + sum(head(1:eq) == ',');
    head = head(eq + 1:end);
  end
  c = {strtrim(head), nout, eval(['{' text(open + 1:close - 1) '}'])};
end
