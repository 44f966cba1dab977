function h = KVHeader(Fin)
% KVHeader  The header of a field as a struct.
%
%   h = KVHeader(Fin)
%
%   Fin  a field: an N x (N+1) array (N x N samples and a header column)
%   h    struct with the fields
%          size       side length of the grid (the unit of size and lambda)
%          lambda     wavelength
%          N          grid dimension, the number of rows of Fin
%          curvature  0 in normal coordinates; otherwise the curvature c
%                     (1/radius) of the phase front the samples leave
%                     out, exp(i*pi*c*(x^2 + y^2)/lambda), which KVConvert
%                     multiplies in (spherical coordinates, from KVFocus)
%          aux_int    the integer carried along with the field
%
%   The header column is the last column of Fin; its first five real parts
%   hold size, lambda, N, curvature and aux_int. N is taken from the shape
%   of Fin, which is what every command reads.
%
%   No command checks size or lambda (KVFocus and KVFresnelFFT refuse a
%   curvature that is not finite): a header edited by hand to
%   a size of 0, NaN or Inf is accepted everywhere and gives plausible but
%   meaningless results (KVCircAperture passes every sample, KVStrehl says
%   1). Keep size and lambda positive and finite.
%
%   Example:
%     F = KVBegin(5e-3, 633e-9, 256);
%     h = KVHeader(F);
%     printf('%g m grid, %g nm light, %d x %d\n', h.size, 1e9*h.lambda, h.N, h.N);
%
%   See also KVCoordinates, KVPower, KVBegin.
  if (nargin ~= 1)
    error('Korvane:usage', '%s: wrong number of arguments', mfilename());
  end
  n = kv_field_dim (Fin, 'KVHeader');
  c = real (double (Fin(:, n + 1)));
  h = struct ('size', c(1), 'lambda', c(2), 'N', n, 'curvature', c(4), 'aux_int', c(5));
end

function n = kv_field_dim (F, who)
  if (~(isnumeric (F) || islogical (F)) || ndims (F) ~= 2 || issparse (F))
    error ('Korvane:notField', '%s: Fin must be a field (a numeric N x (N+1) array)', who);
  end
  n = size (F, 1);
  if (n < 5 || size (F, 2) ~= n + 1)
    error ('Korvane:notField', '%s: Fin must be a field (an N x (N+1) array, N >= 5), not %d x %d', ...
           who, size (F, 1), size (F, 2));
  end
end

%!test
%! F = KVBegin (5e-3, 633e-9, 64);
%! h = KVHeader (F);
%! assert (h, struct ('size', 5e-3, 'lambda', 633e-9, 'N', 64, 'curvature', 0, 'aux_int', 0));

%!test
%! ## KVForward writes the new size and dimension; KVConvert-style headers
%! ## are read from the real parts of a complex field.
%! F = KVForward (0.1, 4e-3, 32, KVCircAperture (1e-3, 0, 0, KVBegin (5e-3, 633e-9, 64)));
%! h = KVHeader (F);
%! assert ([h.size, h.lambda, h.N], [4e-3, 633e-9, 32]);
%! assert (iscomplex (F));

%!error <must be a field> KVHeader (ones (4, 4))
%!error <must be a field> KVHeader ('abcdef')
%!error <must be a field> KVHeader (ones (8, 9, 2))
%!error <wrong number of arguments> KVHeader ()
