function parity_export(file, res, cmds)
  % Writes the calls of parity_zoo (RES, with their arguments and results)
  % and the helpers' calls to FILE, for the Python build to make the same
  % calls and compare (tests/python/parity_check.py reads the format).
  %
  % Python reads any real number of one element as a double scalar, where
  % Octave refuses a logical or non-double one ("Input must be real
  % scalar."). For such a call the record also carries Octave's call with
  % double(x) in place of each such scalar: what Python must give.
  %
  % Format, little-endian: "KVPARITY 1\n", uint32 count, then per record
  %   str name, uint32 nout, str printed, str message, str identifier,
  %   uint8 changed, uint32 nargs, value * nargs, uint32 nout, value * nout,
  %   uint8 alt [, str message, str identifier, uint32 n, value * n]
  % str: uint32 length and bytes. value: a tag byte and its body
  %   N numeric or logical: str class, uint32 ndims, uint64 dims,
  %     uint8 complex, uint8 sparse, uint64 bytes and the real parts,
  %     [uint64 bytes and the imaginary parts]  (column-major, full)
  %   C char: uint32 ndims, uint64 dims, uint64 bytes and the characters
  %   L cell: uint32 ndims, uint64 dims (the zoo's cells are empty)
  %   S struct of one element: uint32 fields, then str name and value each
  %   H function handle: str its text
  %   U unset, O anything else: str its class
  % Keyed by name and argument count: a command of two call forms has both.
  keys = cellfun(@(n, k) sprintf('%s/%d', n, numel(k)), cmds(:, 1), cmds(:, 2), 'UniformOutput', false);
  kinds = containers.Map(keys, cmds(:, 2));
  recs = res;
  for k = 1:numel(recs)
    recs{k}.alt = alt_call(recs{k}, kinds);
  end
  recs = [recs, helper_calls(), large_calls()];
  fid = fopen(file, 'w', 'ieee-le');
  fwrite(fid, uint8("KVPARITY 1\n"), 'uint8');
  fwrite(fid, numel(recs), 'uint32');
  for k = 1:numel(recs)
    r = recs{k};
    name = strtok(r.call, '/');
    put_str(fid, name);
    fwrite(fid, numel(r.out), 'uint32');
    put_str(fid, r.printed);
    put_str(fid, r.msg);
    put_str(fid, r.id);
    fwrite(fid, r.changed, 'uint8');
    fwrite(fid, numel(r.argv), 'uint32');
    put_values(fid, r.argv);
    if isempty(r.msg)
      fwrite(fid, numel(r.out), 'uint32');
      put_values(fid, r.out);
    else
      fwrite(fid, 0, 'uint32');
    end
    if isempty(r.alt)
      fwrite(fid, 0, 'uint8');
    else
      fwrite(fid, 1, 'uint8');
      put_str(fid, r.alt.msg);
      put_str(fid, r.alt.id);
      fwrite(fid, numel(r.alt.out), 'uint32');
      put_values(fid, r.alt.out);
    end
  end
  fclose(fid);
end

function a = alt_call(r, kinds)
  % The same call with double(x) for every logical or non-double real
  % scalar at a scalar position; [] when there is none.
  a = [];
  name = strtok(r.call, '/');
  args = r.argv;
  key = sprintf('%s/%d', name, numel(args));
  if ! isKey(kinds, key)
    return;
  end
  k = kinds(key);
  if numel(args) != numel(k) || numel(r.out) == 0  % (unused where Python does not run the call)
    return;
  end
  changed = false;
  for p = find(k == 'S')
    x = args{p};
    if (islogical(x) || (isnumeric(x) && ! isa(x, 'double'))) && isreal(x) && ! issparse(x) ...
       && numel(x) == 1
      args{p} = double(x);
      changed = true;
    end
  end
  if ! changed
    return;
  end
  a = struct('msg', '', 'id', '', 'out', {cell(1, numel(r.out))});
  out = a.out;
  try
    evalc('[out{:}] = feval(name, args{:});');
    a.out = out;
  catch err
    a.msg = err.message;
    a.id = err.identifier;
    a.out = {};
  end
end

function recs = large_calls()
  % Grids where the BLAS and FFTW's threads do the work (the zoo's are 8 x 8).
  F = KVCircAperture(2e-3, 0, 0, KVBegin(10e-3, 633e-9, 256));
  G = KVRandomPhase(3, 2, KVLens(2, 1e-4, 0, F));
  P = KVPad(512, G);
  calls = {
    'KVForward', {1, 10e-3, 256, F}; 'KVForward', {0.5, 8e-3, 200, G}
    'KVFresnelFFT', {0.5, P}; 'KVFresnelFFT', {40, P}; 'KVAngularSpectrum', {0.3, P}
    'KVInterpol', {8e-3, 300, 1e-4, -2e-4, 10, 1.2, G}; 'KVPad', {1024, G}
    'KVZernike', {5, 3, 4e-3, 2, P}; 'KVGaussHermite', {3, 2, 1, 1e-3, P}
    'KVIntensity', {1, P}; 'KVPhase', {G}; 'KVStrehl', {P}; 'KVNormal', {P}
    'KVPhaseUnwrap', {1, KVPhase(KVLens(1, 0, 0, F))}; 'KVConvert', {KVLens(-1, 0, 0, F)}
    'KVFraunhofer', {0.5, 2e-3, 300, G}; 'KVFraunhofer', {-0.5, 1e-3, 200, G, 1e-4, 0}
    'KVFocus', {0.5, 0.3, P}; 'KVFocus', {0.5, 0.7, P}
  };
  recs = {};
  for c = 1:rows(calls)
    [name, args] = calls{c, :};
    recs{end + 1} = record(name, args, 1 + strcmp(name, 'KVNormal'));
  end
end

function r = record(name, args, nout)
  r = struct('call', [name '/extra'], 'printed', '', 'msg', '', 'id', '', 'changed', false, ...
             'argv', {args}, 'out', {cell(1, nout)}, 'alt', []);
  out = r.out;
  try
    [out{:}] = feval(name, args{:});
    r.out = out;
  catch err
    r.msg = err.message;
    r.id = err.identifier;
  end
end

function recs = helper_calls()
  % The helpers of inst/, over fields of every kind, and their refusals.
  F = KVBegin(5e-3, 633e-9, 64);
  G = KVRandomPhase(7, 2, KVLens(0.5, 1e-4, 0, KVGaussAperture(1e-3, 2e-4, 0, 1, F)));
  H = G; H(1:3, 65) = [7e-3; 1e-6; 64];
  S = single(G);
  I = int16(100 * real(G));
  calls = {
    'KVCoordinates', {F}, 2; 'KVCoordinates', {G, 'resample'}, 2
    'KVCoordinates', {H, 'RESAMPLE'}, 2; 'KVCoordinates', {F, 'other'}, 2
    'KVHeader', {F}, 1; 'KVHeader', {G}, 1; 'KVHeader', {H}, 1; 'KVHeader', {S}, 1
    'KVHeader', {ones(4, 4)}, 1; 'KVHeader', {'abcdef'}, 1; 'KVHeader', {ones(8, 9, 2)}, 1
    'KVPower', {F}, 1; 'KVPower', {G}, 1; 'KVPower', {H}, 1; 'KVPower', {S}, 1
    'KVPower', {I}, 1; 'KVPower', {KVIntAttenuator(0, F)}, 1; 'KVPower', {1}, 1
  };
  recs = {};
  for c = 1:rows(calls)
    [name, args, nout] = calls{c, :};
    r = struct('call', [name '/helper'], 'printed', '', 'msg', '', 'id', '', 'changed', false, ...
               'argv', {args}, 'out', {cell(1, nout)}, 'alt', []);
    out = r.out;
    try
      [out{:}] = feval(name, args{:});
      if strcmp(name, 'KVHeader')
        h = out{1};
        out = {[h.size, h.lambda, h.N, h.curvature, h.aux_int]};
      end
      r.out = out;
    catch err
      r.msg = err.message;
      r.id = err.identifier;
    end
    recs{end + 1} = r;
  end
end

function put_str(fid, s)
  b = uint8(s(:)');
  fwrite(fid, numel(b), 'uint32');
  fwrite(fid, b, 'uint8');
end

function put_dims(fid, x)
  d = size(x);
  fwrite(fid, numel(d), 'uint32');
  fwrite(fid, d, 'uint64');
end

function put_bytes(fid, b)
  fwrite(fid, numel(b), 'uint64');
  fwrite(fid, b, 'uint8');
end

function b = bytes_of(x)
  if islogical(x)
    b = uint8(x(:));
  else
    b = typecast(x(:), 'uint8');
  end
end

function put_values(fid, c)
  for k = 1:numel(c)
    put_value(fid, c{k});
  end
end

function put_value(fid, x)
  if ! exist('x', 'var')
    fwrite(fid, 'U', 'uint8');
    put_str(fid, 'unset');
  elseif isnumeric(x) || islogical(x)
    fwrite(fid, 'N', 'uint8');
    put_str(fid, class(x));
    put_dims(fid, x);
    fwrite(fid, iscomplex(x), 'uint8');
    fwrite(fid, issparse(x), 'uint8');
    if issparse(x)
      x = full(x);
    end
    if iscomplex(x)
      put_bytes(fid, bytes_of(real(x)));
      put_bytes(fid, bytes_of(imag(x)));
    else
      put_bytes(fid, bytes_of(x));  % real() of a logical array is double
    end
  elseif ischar(x)
    fwrite(fid, 'C', 'uint8');
    put_dims(fid, x);
    put_bytes(fid, uint8(x(:)));
  elseif iscell(x)
    fwrite(fid, 'L', 'uint8');
    put_dims(fid, x);
  elseif isstruct(x) && numel(x) == 1
    fwrite(fid, 'S', 'uint8');
    f = fieldnames(x);
    fwrite(fid, numel(f), 'uint32');
    for k = 1:numel(f)
      put_str(fid, f{k});
      put_value(fid, x.(f{k}));
    end
  elseif is_function_handle(x)
    fwrite(fid, 'H', 'uint8');
    put_str(fid, func2str(x));
  else
    fwrite(fid, 'O', 'uint8');
    put_str(fid, class(x));
  end
end
