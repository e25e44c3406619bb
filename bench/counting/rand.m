function varargout = rand(varargin)
  % Counts a call-back and the values it hands out, then hands it to the
  % built-in rand.
  global bayesmex_callbacks bayesmex_rand_values
  bayesmex_callbacks = bayesmex_callbacks + 1;
  [varargout{1:max(nargout, 1)}] = builtin('rand', varargin{:});
  bayesmex_rand_values(end + 1) = numel(varargout{1});
end
