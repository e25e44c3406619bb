function m = bayesmex_manifest(file)
% BAYESMEX_MANIFEST  Read bayesmex's manifest: its libraries, modules and m-files.
%
%   M = bayesmex_manifest
%   M = bayesmex_manifest(FILE)
%
%   Reads FILE (default: manifest.txt at the top of the source tree, whose
%   top comment gives the format) and returns a struct with fields
%     groups     struct array: key, title (the package INDEX's headings)
%     libraries  struct array: name, sources, links
%     modules    struct array: name, group, libs, and sources: modules/NAME.cpp,
%                then the sources of every library it links, directly or
%                through another, each once
%     mfiles     struct array: name, group
%   Paths are relative to the top of the source tree.  CMake reads the same
%   file and checks every line; a test checks that the MATLAB build script
%   compiles each module from the same sources as CMake.  Runs in MATLAB and
%   Octave.

  if nargin < 1
    file = fullfile(fileparts(fileparts(mfilename('fullpath'))), 'manifest.txt');
  end
  m.groups = struct('key', {}, 'title', {});
  m.libraries = struct('name', {}, 'sources', {}, 'links', {});
  m.modules = struct('name', {}, 'group', {}, 'libs', {}, 'sources', {});
  m.mfiles = struct('name', {}, 'group', {});

  lines = regexp(fileread(file), '\r?\n', 'split');
  for i = 1:numel(lines)
    words = regexp(strtrim(regexprep(lines{i}, '#.*', '')), '\s+', 'split');
    if isempty(words{1})
      continue;
    end
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
        m.libraries(end + 1) = struct('name', words{2}, 'sources', {rest}, 'links', {links});
      case 'module'
        m.modules(end + 1) = struct('name', words{2}, 'group', strjoin(rest, ' '), ...
                                    'libs', {links}, 'sources', {{}});
      case 'mfile'
        m.mfiles(end + 1) = struct('name', words{2}, 'group', strjoin(rest, ' '));
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
