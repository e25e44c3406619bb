function varargout = counted_generator(name, nout, args)
  % The counting wrappers' one body: counts a call-back of the built-in
  % NAME ("rand" or "randn") and the values it hands out, then returns them.
  global bayesmex_callbacks bayesmex_rand_values bayesmex_randn_values
  bayesmex_callbacks = bayesmex_callbacks + 1;
  [varargout{1:nout}] = builtin(name, args{:});
  if strcmp(name, 'rand')
    bayesmex_rand_values(end + 1) = numel(varargout{1});
  else
    bayesmex_randn_values(end + 1) = numel(varargout{1});
  end
end
