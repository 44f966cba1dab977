function varargout = KVFraunhofer(varargin)
% KVFraunhofer  The field in the focal plane of a lens, on a grid of any size.
%
%   Fout = KVFraunhofer(f, NewSize, NewNumber, Fin)
%   Fout = KVFraunhofer(f, NewSize, NewNumber, Fin, x_shift, y_shift)
%
%   f          focal length of an ideal thin lens at Fin's plane; negative
%              gives the virtual focus in front of a diverging lens. 0, Inf
%              and NaN are refused (Korvane:badValue).
%   NewSize    side length of the focal-plane grid
%   NewNumber  its dimension, truncated to an integer M of at least 8
%   Fin        input field, in normal coordinates (curvature 0)
%   x_shift, y_shift
%              centre of the focal-plane grid (0 when left out)
%   Fout       the field in the focal plane on the new M x M grid: size
%              NewSize, lambda of Fin, curvature 0
%
%   Fout is the Fresnel field at the distance f behind the lens, where the
%   lens's phase cancels the chirp of the propagation:
%
%     Fout(u,v) = exp(i*pi*(u^2 + v^2)/(lambda*f))/(i*lambda*f)
%                 * D^2 * sum U(x,y)*exp(-2*pi*i*(x*u + y*v)/(lambda*f))
%
%   with D = size/N and both grids by the usual rule (sample c at
%   (c - 1 - floor(N/2))*size/N, the output's shifted by x_shift, y_shift).
%   The lens's phase is never sampled, so a fast lens is no harder than a
%   slow one, and the focal-plane grid is chosen freely: a few microns
%   across the Airy disc at 20 samples, or the whole spectrum. The result is
%   the physical field (its power equals Fin's when the grid holds the whole
%   spectrum at or above Nyquist, NewSize/NewNumber <= lambda*f/size), so
%   KVFresnelFFT or KVAngularSpectrum can take it onward, to either side of
%   the focus. The constant phase exp(i*2*pi*f/lambda) is not applied.
%
%   With NewSize = lambda*f*N/size and NewNumber = N the grid is that of the
%   FFT of the samples, and the result equals it (times the scale and phase
%   above) to rounding.
%
%   Cost. A matrix Fourier transform: two products of the samples with
%   exponential tables, through the BLAS the host has loaded, about
%   2*N^2*M + 2*N*M^2 real multiply-adds (the samples at +x and -x are
%   combined first, which halves a complex product's work). At N = 1024,
%   M = 256 it takes a fraction of a second; see the manual's performance
%   page. The tables and the other passes run on KORVANE_NUM_THREADS
%   threads with the same bits for any count; the products run on the
%   BLAS's own threads, whose count (OPENBLAS_NUM_THREADS) may change the
%   last bit, as for KVForward. Ctrl-C stops the call between blocks of the
%   products. A sample that is not finite (Inf, NaN) makes every output
%   sample NaN.
%
%   Example: the focal spot of an f/2 lens, 20 samples across its Airy disc
%     F = KVBegin(12e-3, 633e-9, 512);
%     F = KVCircAperture(5e-3, 0, 0, F);          % D = 10 mm
%     f = 20e-3;  d = 2.44*633e-9*f/10e-3;        % Airy disc diameter
%     G = KVFraunhofer(f, 2*d, 40, F);
%     imagesc(KVIntensity(0, G)); axis image
%
%   See also KVFocus, KVLens, KVFresnelFFT, KVForward, KVCircAperture.

error('Korvane:notCompiled', ['KVFraunhofer is not compiled: run "make octave" (Octave) or ' ...
       'build_korvane (MATLAB), and add the build folder to the path.']);
end
