function blocks = readme_blocks(file)
  % The code of every ```octave block of a Markdown file, in order.
  blocks = regexp(fileread(file), '^```octave[ \t]*\r?\n(.*?)^```', 'tokens', 'lineanchors');
  blocks = [blocks{:}];
end
