function varargout = KVMedium(varargin)
% KVMedium  Propagate the field through a refractive-index distribution.
%
%   Fout = KVMedium(z, steps, n, Fin)
%   Fout = KVMedium(z, steps, n, Fin, absorber)
%   [Fout, Ixz] = KVMedium(z, steps, n, Fin, absorber)
%
%   z         length of the medium, in the unit of size (0 or more)
%   steps     number of steps, an integer from 1 to 1e6 (a multiple of K)
%   n         refractive index: a scalar (a homogeneous medium), an N x N
%             array (the same at every z) or an N x N x K array (K slices
%             along z, slice k filling the k-th of K equal lengths); real
%             or complex, of any numeric class. Im(n) > 0 absorbs, < 0
%             amplifies: a plane wave's amplitude changes by
%             exp(-k0*Im(n)*z), k0 = 2*pi/lambda (lambda in the header is
%             the vacuum wavelength)
%   Fin       input field, in normal coordinates (curvature 0)
%   absorber  width of the smooth absorbing edge on each side, as a
%             fraction of size, 0 to 0.25; 0: none, the grid is periodic.
%             Default 0.1
%   Fout      the field after the medium, with Fin's header
%   Ixz       N x (steps + 1) real array: the intensity along x on the row
%             y = 0 (row floor(N/2) + 1) before the first step and after
%             each step; imagesc(Ixz) shows the medium from the side
%
%   Method. A symmetric split step: half a step of exact (non-paraxial)
%   angular-spectrum diffraction in a homogeneous medium of the reference
%   index n_ref, the refraction phase exp(i*k0*(n - n_ref)*dz) over the
%   whole step dz = z/steps, and the other half step of diffraction. The
%   half steps of consecutive steps are merged, so a step costs one pair of
%   FFTs. The reference index of each slice is its largest Re(n): the step
%   is exact in a homogeneous medium, and accurate where light is guided
%   (it is where the index is high). One call on an N x N x K index equals
%   K calls on its slices with steps/K steps each.
%
%   Phase convention: as in KVAngularSpectrum, the vacuum phase
%   exp(i*k0*z) is left out, but what the medium adds is applied: a plane
%   wave through a homogeneous n gains exp(i*k0*(n - 1)*z), so a beam
%   through glass and one through air interfere correctly in KVBeamMix.
%   With n = 1 and absorber 0, KVMedium equals KVAngularSpectrum over z for
%   a beam inside that command's band limit. Evanescent components decay
%   as exp(-|kz|*dz) per step.
%
%   Step size. A homogeneous slice is exact at any step. Where the index
%   varies smoothly (graded index, thermal lens), dz of a wavelength or so
%   is enough; where it has steps (a fibre's core edge), take
%   dz <= lambda/2: a fibre mode from KVMode then keeps more than 0.999 of
%   its power in the mode over 1 mm, and its phase within 1e-3 rad.
%   Sampling: the grid holds directions up to sin(theta) = lambda/(2*n*D)
%   inside the medium (D = size/N); keep the light within the middle of
%   the grid, away from the absorber.
%
%   Absorber. Im(n) rises as the fourth power of the depth into the edge,
%   strong enough that light at sin(theta) = 0.3 loses e^-20 of its
%   amplitude crossing it. Measured with a Gaussian beam (w = 16 lambda)
%   aimed at the edge on a grid of 128 lambda (N = 256), the power that
%   comes back into the middle half of the grid is, at the default width
%   0.1: 0.13 at sin(theta) = 0.05, 1.5e-2 at 0.1, 3.5e-10 at 0.3 and
%   1.2e-7 at 0.6; at width 0.2: 2.7e-2, 9.5e-5, 4.6e-15 and 7.1e-8.
%   Slow light is reflected by any absorbing edge (grazing incidence):
%   widen the absorber for beams that creep towards the edge.
%
%   Not modelled: reflections (the step goes forward only) and
%   polarization (the field is scalar). At a high-contrast step, such as
%   glass (1.5) against air, light in the low index diffracts as if it
%   were in the high one; the manual gives the error measured there.
%
%   The FFTs use the plans of KVFftw's planner level; the products run on
%   KORVANE_NUM_THREADS threads with the same result for any count. Ctrl-C
%   stops the call between steps. Memory: besides Fout and Ixz, 1.75 N x N
%   complex arrays.
%
%   Measured accuracy (the manual's page on media gives the table): the
%   Rayleigh range in n = 1.5 within 2.3e-6 of pi*w0^2*n/lambda; a plane
%   wave's phase k0*(n - 1)*z to 5e-13; power over 1000 steps to 1e-13;
%   a parabolic graded-index lens images an off-axis spot to 3e-4 of its
%   offset after a period.
%
%   Example (a parabolic graded-index lens, seen from the side):
%     F = KVBegin(200e-6, 1e-6, 256);
%     [x, y] = meshgrid(((1:256) - 129) * 200e-6 / 256);
%     n = 1.5 * sqrt(1 - (5e3)^2 * (x.^2 + y.^2));
%     F = KVGaussAperture(15e-6, 30e-6, 0, 1, F);
%     [G, Ixz] = KVMedium(pi / 5e3, 400, n, F);
%     imagesc(Ixz)
%
%   See also KVMode, KVAngularSpectrum, KVBeamMix, KVFftw.
error('Korvane:notCompiled', 'KVMedium is not compiled: run "make octave" (Octave) or build_korvane (MATLAB) and add the build folder to the path.');
end
