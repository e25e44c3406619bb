function test_recipe()
  % Every function of the manifest stands in every place DEVELOPING's
  % recipe ("A new function") lists beyond the manifest row, its source,
  % its help and its own tests, so that a new one missing from any fails
  % here: the digest of bits across machines (tests/cross/bits_digest.cpp),
  % an array benchmark (bench/bench_*.m), the per-call table
  % (bench/calls_table.m), the size table (bench/sizes_table.m) for the
  % functions whose cost grows with a size, the demo's samplers figure and
  % table (inst/bayesmex_demo.m) for every law a sampler draws, the README's
  % Functions table, and the calls of every drawing function
  % (drawing_calls, which checks itself).
  root = fileparts(fileparts(fileparts(mfilename('fullpath'))));
  text = @(varargin) fileread(fullfile(root, varargin{:}));
  digest = text('tests', 'cross', 'bits_digest.cpp');
  arrays = cellfun(@(f) text('bench', f), {dir(fullfile(root, 'bench', 'bench_*.m')).name}, ...
                   'UniformOutput', false);
  calls = text('bench', 'calls_table.m');
  sizes = text('bench', 'sizes_table.m');
  demo = regexp(text('inst', 'bayesmex_demo.m'), 'function r = demo_samplers.*?\nend\n', 'match', 'once');
  functions = regexp(text('README.md'), '\n## Functions\n.*?\n## ', 'match', 'once');
  assert(!isempty(demo), 'test_recipe: no demo_samplers in the demo');
  m = bayesmex_manifest().modules;
  names = {m.name};
  missing = {};
  for k = 1:numel(m)
    name = m(k).name;
    where = {};
    if isempty(strfind(digest, ['"' name '"'])), where{end+1} = 'bits_digest.cpp'; end
    % bayesmex_seed sets two generator states: no work that grows to time.
    if !strcmp(m(k).group, 'utilities') && !any(cellfun(@(b) !isempty(strfind(b, name)), arrays))
      where{end+1} = 'bench/bench_*.m';
    end
    if isempty(strfind(calls, ['''' name '('])), where{end+1} = 'calls_table.m'; end
    % A cost that grows with a size: samplers and resampling schemes with
    % sizes, elementwise functions.
    grows = (any(strcmp(m(k).group, {'samplers', 'resampling'})) && !isempty(m(k).sizes)) ...
            || strcmp(m(k).shape, 'any');
    if grows && isempty(strfind(sizes, ['''' name ''''])), where{end+1} = 'sizes_table.m'; end
    % A law of its own: a sampler that is not the single draw of an array
    % sampler (NAME1 beside NAME).
    law = strcmp(m(k).group, 'samplers') && !(name(end) == '1' && any(strcmp(names, name(1:end-1))));
    if law && isempty(strfind(demo, [name '('])), where{end+1} = 'bayesmex_demo.m (samplers)'; end
    if isempty(regexp(functions, ['`(\[[^`]*\] = )?' name '\('], 'once')), where{end+1} = 'README.md (Functions)'; end
    if !isempty(where), missing{end+1} = sprintf('%s: %s', name, strjoin(where, ', ')); end
  end
  assert(isempty(missing), 'test_recipe: missing from the recipe''s places:\n  %s', strjoin(missing, "\n  "));
  drawing_calls();
  drawing_calls('paths');
end
