function res = parity_zoo(outfile, exportfile)
  % Calls every command with whatever modules are first on the path, over a
  % zoo of arguments: no arguments, wrong counts, every class and shape at
  % every position, NaN and fractional headers, N-d arrays, narrowed fields
  % and non-finite samples. Records what each call printed, raised and
  % returned, and whether it changed an input. With OUTFILE, saves the
  % record there (for comparing two builds). With EXPORTFILE, also writes
  % every call's arguments and results there, for the Python build to run
  % the same calls (parity_export).
  cmds = {
    'KVBegin', 'SSS'; 'KVForward', 'SSSF'; 'KVInterpol', 'SSSSSSF'; 'KVConvert', 'F'
    'KVCircAperture', 'SSSF'; 'KVCircScreen', 'SSSF'; 'KVRectAperture', 'SSSSSF'
    'KVRectScreen', 'SSSSSF'; 'KVGaussAperture', 'SSSSF'; 'KVGaussScreen', 'SSSSF'
    'KVSuperGaussAperture', 'SSSSSF'; 'KVSuperGaussScreen', 'SSSSSF'; 'KVLens', 'SSSF'
    'KVTilt', 'SSF'; 'KVAxicon', 'SSSSF'; 'KVZernike', 'SSSSF'; 'KVRandomPhase', 'SSF'
    'KVSubIntensity', 'AF'; 'KVSubPhase', 'AF'; 'KVMultIntensity', 'AF'; 'KVMultPhase', 'AF'
    'KVRandomIntensity', 'SF'; 'KVGaussHermite', 'SSSSF'; 'KVIntensity', 'SF'; 'KVPhase', 'F'
    'KVPhaseUnwrap', 'SA'; 'KVStrehl', 'F'; 'KVNormal', 'F'; 'KVBeamMix', 'FF'
    'KVPolarizer', 'SFF'; 'KVGain', 'SSSF'; 'KVIntAttenuator', 'SF'
  };
  extra = {'KVFresnelFFT', 'SF'; 'KVAngularSpectrum', 'SF'; 'KVPad', 'SF'
           'KVTurbScreen', 'SSSSF'; 'KVStructureFunction', 'AF'; 'KVStructureFunction', 'AFA'
           'KVFftw', 'TS'; 'KVMedium', 'SSAF'; 'KVMedium', 'SSAFS'; 'KVMode', 'ASF'
           'KVFraunhofer', 'SSSF'; 'KVFraunhofer', 'SSSFSS'; 'KVFocus', 'SSF'
           'KVJones', 'JFF'; 'KVWavePlate', 'SSFF'
           'KVLinearPolarizer', 'SFF'; 'KVRotator', 'SFF'; 'KVStokes', 'FF'
           'KVBeamWidth', 'F'; 'KVBeamWidth', 'AF'; 'KVBeamQuality', 'F'};
  for k = 1:rows(extra)
    if exist(extra{k, 1}) == 3  % a compiled module is on the path
      cmds(end + 1, :) = extra(k, :);
    end
  end
  F8 = KVBegin(1e-3, 1e-6, 8);                  % narrowed to real by Octave
  Fc = F8; Fc(1:8, 1:8) = exp(1i * reshape(1:64, 8, 8)) .* reshape(1:64, 8, 8) / 64;
  P = 0.5 * ones(8);
  odd = {[], complex(zeros(0, 1)), cell(2, 3), 'abc', true(8), uint8(ones(8)), ...
         single(Fc), int8(10 * real(Fc)), sparse(Fc), sparse(P), complex(zeros(5, 6)), ...
         complex(zeros(4, 5)), zeros(8, 9), [1e300 2 3], NaN, -Inf, 2147483647, ...
         1i, single(2), int32(3), true, sparse(4), [1 2], struct('a', 1), @sin, ...
         reshape(Fc, 8, 3, 3), int16(real(Fc)), -0, 1e-300};
  H = Fc; H(3, 9) = 2147483647; odd{end + 1} = H;   % a header claiming a huge grid
  H = Fc; H(3, 9) = 8.9; odd{end + 1} = H;          % fractional N
  H = Fc; H(3, 9) = NaN; odd{end + 1} = H;
  H = Fc; H(4, 9) = NaN; H(5, 9) = NaN; H(1, 9) = Inf; odd{end + 1} = H;
  H = Fc; H(2, 2) = NaN; H(5, 7) = Inf; odd{end + 1} = H;  % non-finite samples
  H = Fc; H(4, 9) = 1; odd{end + 1} = H;            % spherical
  H = complex(ones(9, 10)); H(1:5, 10) = [1e-3; 1e-6; 9; 0; 0]; odd{end + 1} = H;  % odd N
  H = real(Fc); odd{end + 1} = H;                   % a real field with samples
  res = {};
  for fill = [1 8]
    for c = 1:rows(cmds)
      name = cmds{c, 1};
      kinds = cmds{c, 2};
      nout = most_outputs(name);
      valid = cell(1, numel(kinds));
      for p = 1:numel(kinds)
        switch kinds(p)
          case 'F', valid{p} = ifelse_(fill == 1, Fc, F8);
          case 'A', valid{p} = P;
          case 'J', valid{p} = [1, -0.5; 0.5, 2] + 0.25i;
          case 'T', valid{p} = 'timelimit';  % leaves the planner level at its default
          otherwise, valid{p} = fill;
        end
      end
      if fill == 1
        res{end + 1} = one_call(name, {}, 0);
        res{end + 1} = one_call(name, {}, 1);
        res{end + 1} = one_call(name, valid(1:end - 1), nout);
        res{end + 1} = one_call(name, [valid, {1}], nout);
        res{end + 1} = one_call(name, valid, nout + 1);
        res{end + 1} = one_call(name, valid, 0);
      end
      res{end + 1} = one_call(name, valid, nout);
      for p = 1:numel(kinds)
        for k = 1:numel(odd)
          args = valid;
          args{p} = odd{k};
          res{end + 1} = one_call(name, args, nout);
        end
      end
    end
  end
  if nargin > 1
    parity_export(exportfile, res, cmds);
  end
  res = cellfun(@(r) rmfield(r, {'argv', 'out'}), res, 'UniformOutput', false);
  if nargin > 0 && ! isempty(outfile)
    save('-binary', outfile, 'res');
  end
end

function n = most_outputs(name)
  % The most results a command gives (Python returns them all).
  switch name
    case {'KVNormal', 'KVStructureFunction', 'KVMedium', 'KVMode', 'KVJones', 'KVWavePlate', ...
          'KVLinearPolarizer', 'KVRotator'}
      n = 2;
    case 'KVStokes', n = 4;
    case 'KVBeamWidth', n = 5;
    case 'KVBeamQuality', n = 6;
    otherwise, n = 1;
  end
end

function v = ifelse_(c, a, b)
  if c, v = a; else, v = b; end
end

function r = one_call(name, args, nout)
  before = cellfun(@bytes_of, args, 'UniformOutput', false);
  out = cell(1, nout);
  err = [];
  try
    printed = evalc('[out{:}] = feval(name, args{:});');
  catch err
    printed = '';
  end
  if ~isempty(err)
    % evalc loses what was printed before the error: print again to a string.
    printed = evalc('try, [out{:}] = feval(name, args{:}); catch, end');
  end
  r.call = sprintf('%s/%d args/%d out', name, numel(args), nout);
  r.args = cellfun(@class, args, 'UniformOutput', false);
  r.printed = printed;
  r.msg = '';
  r.id = '';
  if ~isempty(err)
    r.msg = err.message;
    r.id = err.identifier;
  end
  r.classes = cellfun(@class, out, 'UniformOutput', false);
  r.complex = cellfun(@iscomplex, out);
  r.sizes = cellfun(@size, out, 'UniformOutput', false);
  r.values = cellfun(@bytes_of, out, 'UniformOutput', false);
  r.changed = ~isequal(before, cellfun(@bytes_of, args, 'UniformOutput', false));
  r.argv = args;
  r.out = out;
end

function b = bytes_of(x)
  % The bits of a numeric array, real and imaginary parts; a summary of others.
  if ~exist('x', 'var')
    b = 'unset';
  elseif isnumeric(x) || islogical(x)
    if issparse(x)
      x = full(x);
    end
    b = [typecast(double(real(x(:))), 'uint8'); typecast(double(imag(x(:))), 'uint8')];
    b = hash('md5', char(b(:)'));
  else
    b = class(x);
  end
end
